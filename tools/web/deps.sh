#!/usr/bin/env bash
# The libraries the desktop build links (SDL2, SDL2_mixer, libpng, zlib, LZO),
# built for the browser from Debian's own source packages of the very versions
# installed here. Sources come through a private apt state folder inside the
# build folder; the system's apt configuration is only read. Each library is
# built once into PREFIX and kept (a stamp names its version).
#
#   tools/web/deps.sh BUILD_WEB_DIR
set -euo pipefail

OUT=$(realpath -m "$1")
DEPS=$OUT/deps
PREFIX=$DEPS/prefix
JOBS=${JOBS:-2}
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
mkdir -p "$DEPS/src" "$PREFIX"

# The source package and the version of each library the desktop build uses.
declare -A SOURCE VERSION
for dev in libsdl2-dev libsdl2-mixer-dev libpng-dev zlib1g-dev liblzo2-dev; do
  read -r name version < <(dpkg-query -W -f='${source:Package} ${source:Version}\n' "$dev")
  SOURCE[$dev]=$name
  VERSION[$dev]=$version
done

stamp_of() { echo "$DEPS/${SOURCE[$1]}.built"; }
built() { [ -f "$(stamp_of "$1")" ] && [ "$(cat "$(stamp_of "$1")")" = "${VERSION[$1]}" ]; }

# ---------------------------------------------------------------- sources

# The deb-src lines of the machine's own archives: every URIs/Suites/Signed-By
# stanza of the deb822 source files, and the one-line deb entries.
private_sources_list() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk '
      function flush() {
        if (uris != "" && suites != "") {
          n = split(uris, u, " "); m = split(suites, s, " ")
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
            printf "deb-src %s%s %s %s\n", (key != "" ? "[signed-by=" key "] " : ""), u[i], s[j], comps
        }
        uris = suites = key = ""; comps = "main"
      }
      BEGIN { comps = "main" }
      /^[ \t]*$/ { flush(); next }
      /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
      /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
      /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
      /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); key = $0 }
      END { flush() }' "$file"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -n 's/^[ \t]*deb[ \t]\+/deb-src /p' "$file"
  done
}

fetch_sources() {
  local wanted=() dev
  for dev in "${!SOURCE[@]}"; do
    built "$dev" && continue
    [ -d "$DEPS/src/${SOURCE[$dev]}-${VERSION[$dev]}" ] && continue
    wanted+=("${SOURCE[$dev]}=${VERSION[$dev]}")
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  local apt=$DEPS/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  private_sources_list | sort -u > "$apt/sources.list"
  local options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
    -o Dir::State::Status=/var/lib/dpkg/status -o APT::Sandbox::User=root
    -o Debug::NoLocking=1)
  apt-get "${options[@]}" -qq update
  local download=$DEPS/download item
  for item in "${wanted[@]}"; do
    local name=${item%%=*} version=${item#*=} offered candidate got=
    # The archive keeps only the newest revisions of a release: where the
    # installed one is gone, the newest of the same upstream version that
    # can still be had stands in for it.
    offered=$(apt-cache "${options[@]}" showsrc "$name" 2>/dev/null | sed -n 's/^Version: //p' |
      grep -F "${version%-*}-" | grep -vxF "$version" | sort -Vr || true)
    for candidate in "$version" $offered; do
      rm -rf "$download" && mkdir -p "$download"
      if (cd "$download" && apt-get "${options[@]}" -qq source "$name=$candidate" >/dev/null 2>&1); then
        got=$candidate
        break
      fi
    done
    [ -n "$got" ] || { echo "web deps: no source of $name $version to be had" >&2; exit 1; }
    echo "web deps: $name $got"
    local folder
    folder=$(find "$download" -maxdepth 1 -mindepth 1 -type d -name "$name-*" | head -1)
    mv "$folder" "$DEPS/src/$name-$version"
  done
  rm -rf "$download"
}

# ---------------------------------------------------------------- builds

src_of() { echo "$DEPS/src/${SOURCE[$1]}-${VERSION[$1]}"; }
done_with() { echo "${VERSION[$1]}" > "$(stamp_of "$1")"; }

CMAKE_COMMON=(-Wno-dev -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX"
  -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DBUILD_SHARED_LIBS=OFF
  -DCMAKE_C_FLAGS="-O2")

build_zlib() {
  local dev=zlib1g-dev src work=$DEPS/work/zlib
  built $dev && return 0
  src=$(src_of $dev)
  rm -rf "$work" && cp -r "$src" "$work"
  (cd "$work" && CFLAGS=-O2 emconfigure ./configure --static --prefix="$PREFIX" >/dev/null &&
    emmake make -j"$JOBS" libz.a >/dev/null && emmake make install >/dev/null)
  done_with $dev
}

build_lzo() {
  local dev=liblzo2-dev src work=$DEPS/work/lzo
  built $dev && return 0
  src=$(src_of $dev)
  rm -rf "$work" && cp -r "$src" "$work"
  (cd "$work" && CFLAGS=-O2 emconfigure ./configure --host=i686-pc-linux-gnu --disable-shared --enable-static --disable-asm \
      --prefix="$PREFIX" >/dev/null && emmake make -j"$JOBS" src/liblzo2.la >/dev/null &&
    emmake make install-libLTLIBRARIES install-pkgincludeHEADERS install-pkgconfigDATA >/dev/null)
  done_with $dev
}

build_png() {
  local dev=libpng-dev src work=$DEPS/work/png
  built $dev && return 0
  src=$(src_of $dev)
  rm -rf "$work"
  emcmake cmake -S "$src" -B "$work" "${CMAKE_COMMON[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DZLIB_ROOT="$PREFIX" \
    -DZLIB_INCLUDE_DIR="$PREFIX/include" -DZLIB_LIBRARY="$PREFIX/lib/libz.a" \
    -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >/dev/null
  cmake --build "$work" -j "$JOBS" >/dev/null
  cmake --install "$work" >/dev/null
  done_with $dev
}

build_sdl() {
  local dev=libsdl2-dev src work=$DEPS/work/sdl
  built $dev && return 0
  src=$(src_of $dev)
  rm -rf "$work"
  emcmake cmake -S "$src" -B "$work" "${CMAKE_COMMON[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_TESTS=OFF >/dev/null
  cmake --build "$work" -j "$JOBS" >/dev/null
  cmake --install "$work" >/dev/null
  done_with $dev
}

build_mixer() {
  local dev=libsdl2-mixer-dev src work=$DEPS/work/mixer
  built $dev && return 0
  src=$(src_of $dev)
  rm -rf "$work"
  # Only the decoders SDL_mixer carries itself: WAV, OGG (stb_vorbis), MP3
  # (dr_mp3), FLAC (dr_flac).
  emcmake cmake -S "$src" -B "$work" "${CMAKE_COMMON[@]}" -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF -DSDL2MIXER_FLAC_DRFLAC=ON \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_WAVE=ON \
    -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" >/dev/null
  cmake --build "$work" -j "$JOBS" >/dev/null
  cmake --install "$work" >/dev/null
  done_with $dev
}

fetch_sources
mkdir -p "$DEPS/work"
# Three independent chains side by side: much of each build is a configure
# step on one core, which leaves the other idle when they run one by one.
chains=()
(build_zlib; build_png) & chains+=($!)
(build_lzo) & chains+=($!)
(build_sdl; build_mixer) & chains+=($!)
failed=0
for chain in "${chains[@]}"; do wait "$chain" || failed=1; done
[ $failed = 0 ] || { echo "web deps: a library did not build" >&2; exit 1; }
echo "web deps: ready in $PREFIX"
