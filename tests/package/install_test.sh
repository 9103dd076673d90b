#!/usr/bin/env bash
# Installing and packaging the game.
#
#   install_test.sh tree BUILD   cmake --install into a scratch prefix: the
#                                layout, the bytes, the desktop files, a headless start
#   install_test.sh deb BUILD    cpack's Debian packages through dpkg: install the game
#                                and the SDK (libquorbel-dev), start the game from the
#                                PATH, build the SDK's starter against /usr and run it,
#                                purge both, nothing left (root and dpkg only; exits 77,
#                                skipped, elsewhere)
set -uo pipefail

MODE=${1:?mode: tree or deb}
BUILD=$(cd "${2:?build folder}" && pwd)
APP_ID=org.quorbel.quorbel
ICON_SIZES=(64 256)
SKIP=77

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/quorbel-install-test.XXXXXX")
cleanup_hooks=()
cleanup() {
    local hook
    for hook in "${cleanup_hooks[@]}"; do eval "$hook"; done
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

media_names() {
    printf '%s\n' back0.png back1.png back2.png back3.png menu/back.png menu/icon.png \
        smalfont.png smalfont.bmp blip.wav cheer.wav
    local n
    for n in $(seq 0 62); do printf 'vux/%02d.png\n' "$n"; done
}

# A PNG's width and height from its IHDR chunk, as "W H".
png_size() {
    local sig
    sig=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$sig" = 89504e470d0a1a0a ] || { echo "not-a-png"; return; }
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, \
        $5*16777216 + $6*65536 + $7*256 + $8 }'
}

# The desktop entry, the icons and the AppStream data under PREFIX/share,
# checked against each other and by their validators.
check_desktop_files() {
    local share=$1/share
    local desktop=$share/applications/$APP_ID.desktop
    local metainfo=$share/metainfo/$APP_ID.metainfo.xml
    check "desktop entry installed" test -f "$desktop"
    check "desktop-file-validate passes" desktop-file-validate "$desktop"
    check "desktop entry starts the launcher by name" grep -qx 'Exec=quorbel' "$desktop"
    check "desktop entry names the icon" grep -qx 'Icon=quorbel' "$desktop"
    check "AppStream data installed" test -f "$metainfo"
    # --no-net: the tests reach no network; URLs are not followed.
    check "appstreamcli validate passes" appstreamcli validate --no-net "$metainfo"
    check "AppStream data launches the desktop entry" \
        grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo"
    check "AppStream id matches the file name" grep -q "<id>$APP_ID</id>" "$metainfo"
    local size icon
    for size in "${ICON_SIZES[@]}"; do
        icon=$share/icons/hicolor/${size}x${size}/apps/quorbel.png
        check "icon ${size}x${size} is a ${size} x ${size} PNG" \
            test "$(png_size "$icon" 2>/dev/null)" = "$size $size"
    done
}

# Starts COMMAND headless from /, waits for "Init OK", ends it with SIGTERM
# and expects exit code 0. The game's temporary files go to a folder of our own.
start_and_stop() {
    local what=$1
    shift
    local out=$SCRATCH/run.out tmp=$SCRATCH/run.tmp
    mkdir -p "$tmp"
    (cd / && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TMPDIR=$tmp exec "$@") >"$out" 2>&1 &
    local pid=$! started=0
    for _ in $(seq 1 300); do
        if grep -qx 'Init OK' "$out"; then started=1; break; fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ $started = 0 ]; then
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        fail "$what: no \"Init OK\" within 30 s; it printed:"
        sed 's/^/    /' "$out"
        return
    fi
    pass "$what: prints \"Init OK\""
    kill -TERM "$pid"
    for _ in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null
        fail "$what: still running 20 s after SIGTERM"
        return
    fi
    wait "$pid"
    local rc=$?
    check "$what: SIGTERM ends it with exit code 0 (got $rc)" test "$rc" = 0
}

listing() { (cd "$1" && find . | LC_ALL=C sort); }

check_program_folder() {  # check_program_folder LIBDIR
    local lib=$1 name
    check "program in lib/quorbel is an executable ELF file" \
        test -x "$lib/quorbel" -a "$(od -An -tx1 -N4 "$lib/quorbel" | tr -d ' ')" = 7f454c46
    local missing=0 differ=0
    while read -r name; do
        if [ ! -f "$lib/$name" ]; then
            missing=$((missing + 1))
            echo "    missing: $name"
        elif ! cmp -s "$lib/$name" "$BUILD/$name"; then
            differ=$((differ + 1))
            echo "    differs from the build's: $name"
        fi
    done < <(media_names)
    check "all 73 media files beside the program, the build's bytes" \
        test $missing = 0 -a $differ = 0
}

tree_test() {
    local prefix=$SCRATCH/usr
    if ! cmake --install "$BUILD" --prefix "$prefix" >"$SCRATCH/install.log" 2>&1; then
        cat "$SCRATCH/install.log"
        fail "cmake --install"
        return
    fi
    pass "cmake --install into a scratch prefix"
    check "launcher bin/quorbel is an executable script" \
        test -x "$prefix/bin/quorbel" -a "$(head -c2 "$prefix/bin/quorbel")" = '#!'
    check_program_folder "$prefix/lib/quorbel"
    check_desktop_files "$prefix"
    local before
    before=$(listing "$prefix")
    # Found on the PATH and through a link elsewhere, as a desktop would start it.
    PATH="$prefix/bin:$PATH" start_and_stop "launcher found on the PATH" quorbel
    mkdir -p "$SCRATCH/elsewhere"
    ln -s "$prefix/bin/quorbel" "$SCRATCH/elsewhere/play"
    start_and_stop "launcher started through a symbolic link" "$SCRATCH/elsewhere/play"
    check "the game wrote nothing into the installed tree" \
        test "$before" = "$(listing "$prefix")"
}

installed() { dpkg-query -W -f='${Status}' "${1:-quorbel}" 2>/dev/null | grep -q 'ok installed'; }
# Installed, half-installed or with its configuration files left: dpkg still has it.
present() {
    local status
    status=$(dpkg-query -W -f='${Status}' "${1:-quorbel}" 2>/dev/null) || return 1
    [ -n "$status" ] && [[ "$status" != *not-installed ]]
}
absent() { ! present "$@"; }

# dpkg waits for no one: another apt or dpkg run on this machine makes it
# fail at once, so a locked database is tried again for a while.
dpkg_patiently() {
    local out
    for _ in $(seq 1 60); do
        if out=$(dpkg "$@" 2>&1); then
            printf '%s\n' "$out"
            return 0
        fi
        grep -qiE 'lock (is|was) locked' <<<"$out" || break
        sleep 1
    done
    printf '%s\n' "$out"
    return 1
}

# The SDK's package beside the game's, in SDK_DEB: its name, what it depends
# on, and that it holds only SDK files.
SDK_DEB=
sdk_package() {
    local debs=("$1"/libquorbel-dev_*.deb) deb
    if [ ${#debs[@]} != 1 ] || [ ! -f "${debs[0]}" ]; then
        fail "cpack made one libquorbel-dev_*.deb (found: ${debs[*]})"
        return 1
    fi
    deb=${debs[0]}
    SDK_DEB=$deb
    pass "cpack made $(basename "$deb")"
    check "SDK package is named libquorbel-dev" test "$(dpkg-deb -f "$deb" Package)" = libquorbel-dev
    local depends dev
    depends=$(dpkg-deb -f "$deb" Depends)
    for dev in libsdl2-dev libsdl2-mixer-dev libpng-dev zlib1g-dev liblzo2-dev libavformat-dev \
        libavcodec-dev libswscale-dev libavutil-dev libgl-dev pkg-config; do
        grep -qE "(^|, )$dev(,|$| )" <<<"$depends" || fail "libquorbel-dev does not depend on $dev"
    done
    local contents stray
    contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
    stray=$(grep -vE '^\./usr/((bin|include|lib|share|share/doc|share/man|share/man/man1)/)?$' <<<"$contents" |
        grep -vE '^\./usr/(bin/sbpack|include/quorbel/|lib/([a-z0-9_]+-linux-gnu/)?(libquorbel_(runtime|platform)\.a|cmake/|pkgconfig/|cmake/Quorbel/)|lib/[a-z0-9_]+-linux-gnu/$|share/quorbel/|share/doc/libquorbel-dev/|share/man/man1/sbpack\.1\.gz)')
    check "SDK package holds only the SDK${stray:+ (found: $stray)}" test -z "$stray"
}

# The starter copied out of /usr/share/quorbel and built with
# find_package(Quorbel) alone, then run headless: it draws its ship.
build_starter_against_usr() {
    local game=$SCRATCH/starter
    check "sbpack is on the PATH" test "$(command -v sbpack)" = /usr/bin/sbpack
    check "pkg-config knows quorbel" pkg-config --exists quorbel
    cp -r /usr/share/quorbel/starter "$game"
    if ! (cmake -S "$game" -B "$game/build" -G Ninja && cmake --build "$game/build") \
        >"$SCRATCH/starter-build.log" 2>&1; then
        tail -40 "$SCRATCH/starter-build.log"
        fail "the starter builds against /usr with find_package(Quorbel)"
        return
    fi
    pass "the starter builds against /usr with find_package(Quorbel)"
    mkdir -p "$SCRATCH/starter-tmp"
    (cd / && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TMPDIR=$SCRATCH/starter-tmp \
        timeout 60 "$game/build/starter" --frames 30 --shot shot.bmp) >"$SCRATCH/starter-run.log" 2>&1
    check "the starter runs 30 frames and ends with exit code 0" test $? = 0
    # 24-bit BMP, rows bottom-up: count the ship's hull colour (90, 200, 255).
    local hull
    hull=$(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", data, 10)
width, height = struct.unpack_from("<ii", data, 18)
stride = (3 * width + 3) // 4 * 4
print(sum(data[offset + y * stride + 3 * x:offset + y * stride + 3 * x + 3] == bytes((255, 200, 90))
          for y in range(height) for x in range(width)))' "$game/build/shot.bmp" 2>/dev/null)
    check "the starter's screen shows its ship (${hull:-no} hull pixels)" test "${hull:-0}" -gt 50
}

# Every file of a package's list is gone; its folders matching PATTERN too.
nothing_left_of() {
    local files=$1 own=$2 left=0 path
    while read -r path; do
        [ -z "$path" ] && continue
        if [ -e "$path" ] || [ -L "$path" ]; then
            if [ -d "$path" ] && [ ! -L "$path" ] && ! grep -qE "^($own)" <<<"$path"; then
                continue
            fi
            echo "    left behind: $path"
            left=$((left + 1))
        fi
    done <<<"$files"
    test $left = 0
}

deb_test() {
    if [ "$(id -u)" != 0 ] || ! command -v dpkg >/dev/null || ! command -v cpack >/dev/null; then
        echo "skipped: installing the Debian package needs root, dpkg and cpack"
        exit $SKIP
    fi
    # One package test at a time on this machine: they share the system's quorbel.
    local lockdir=/run/lock
    [ -d $lockdir ] && [ -w $lockdir ] || lockdir=/tmp
    exec 9>"$lockdir/quorbel-package-test.lock"
    flock -w 300 9 || { fail "another package test holds the lock"; return; }

    local start=$SECONDS
    if ! cpack --config "$BUILD/CPackConfig.cmake" -B "$SCRATCH/pkg" >"$SCRATCH/cpack.log" 2>&1; then
        cat "$SCRATCH/cpack.log"
        fail "cpack"
        return
    fi
    local debs=("$SCRATCH"/pkg/quorbel_*.deb)
    if [ ${#debs[@]} != 1 ] || [ ! -f "${debs[0]}" ]; then
        fail "cpack made one quorbel_*.deb (found: ${debs[*]})"
        return
    fi
    local deb=${debs[0]}
    pass "cpack made $(basename "$deb") in $((SECONDS - start)) s"
    check "package is named quorbel" test "$(dpkg-deb -f "$deb" Package)" = quorbel
    check "package depends on SDL2's library" \
        grep -q 'libsdl2-2.0-0' <<<"$(dpkg-deb -f "$deb" Depends)"
    local contents
    contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
    check "package holds the program in /usr/lib/quorbel" \
        grep -q '^\./usr/lib/quorbel/quorbel$' <<<"$contents"
    local stray
    stray=$(grep -vE '^\./usr/((bin|lib|share)/)?$|^\./usr/bin/quorbel$|^\./usr/lib/quorbel/' <<<"$contents" |
        grep -vE '^\./usr/share/(applications|icons|metainfo)/')
    check "package holds nothing else${stray:+ (found: $stray)}" test -z "$stray"
    sdk_package "$SCRATCH/pkg" || return

    if present libquorbel-dev || present; then
        echo "note: quorbel or libquorbel-dev was installed here before the test (an earlier run?); purging it"
        dpkg_patiently --purge libquorbel-dev quorbel >/dev/null
    fi
    cleanup_hooks+=("present libquorbel-dev && dpkg_patiently --purge libquorbel-dev >/dev/null")
    cleanup_hooks+=("present && dpkg_patiently --purge quorbel >/dev/null")
    if ! dpkg_patiently -i "$deb" "$SDK_DEB" >"$SCRATCH/dpkg-i.log"; then
        cat "$SCRATCH/dpkg-i.log"
        fail "dpkg -i"
        return
    fi
    pass "dpkg -i"
    check "dpkg says quorbel is installed" installed
    check "quorbel on the PATH is /usr/bin/quorbel" test "$(command -v quorbel)" = /usr/bin/quorbel
    check_program_folder /usr/lib/quorbel
    check_desktop_files /usr
    local before
    before=$(listing /usr/lib/quorbel)
    start_and_stop "installed quorbel" quorbel
    check "the game wrote nothing into /usr/lib/quorbel" test "$before" = "$(listing /usr/lib/quorbel)"
    check "dpkg says libquorbel-dev is installed" installed libquorbel-dev
    build_starter_against_usr

    local files sdk_files
    files=$(dpkg -L quorbel)
    sdk_files=$(dpkg -L libquorbel-dev)
    if ! dpkg_patiently --purge libquorbel-dev >"$SCRATCH/dpkg-purge.log"; then
        cat "$SCRATCH/dpkg-purge.log"
        fail "dpkg --purge libquorbel-dev"
        return
    fi
    pass "dpkg --purge libquorbel-dev"
    check "dpkg no longer knows libquorbel-dev" absent libquorbel-dev
    check "every file of libquorbel-dev is gone" nothing_left_of "$sdk_files" \
        '/usr/include/quorbel|/usr/share/quorbel|/usr/lib/.*/cmake/Quorbel|/usr/share/doc/libquorbel-dev'
    check "no pkg-config file quorbel left" test -z "$(pkg-config --path quorbel 2>/dev/null)"
    if ! dpkg_patiently --purge quorbel >"$SCRATCH/dpkg-purge.log"; then
        cat "$SCRATCH/dpkg-purge.log"
        fail "dpkg --purge"
        return
    fi
    pass "dpkg --purge"
    check "dpkg no longer knows quorbel" absent
    check "dpkg -L lists nothing" test -z "$(dpkg -L quorbel 2>/dev/null)"
    # Shared folders (/usr/bin, /usr/share/icons...) stay with their other owners.
    local left=0 path
    while read -r path; do
        [ -z "$path" ] && continue
        if [ -e "$path" ] || [ -L "$path" ]; then
            if [ -d "$path" ] && [ ! -L "$path" ] && [[ "$path" != /usr/lib/quorbel* ]]; then
                continue
            fi
            echo "    left behind: $path"
            left=$((left + 1))
        fi
    done <<<"$files"
    check "every file of the package is gone, /usr/lib/quorbel too" test $left = 0 -a ! -e /usr/lib/quorbel
    hash -r
    check "no quorbel launcher left on the PATH" test -z "$(command -v quorbel)"
}

case $MODE in
tree) tree_test ;;
deb) deb_test ;;
*)
    echo "unknown mode: $MODE"
    exit 2
    ;;
esac

if [ $failures = 0 ]; then
    echo "install test ($MODE): all checks passed"
    exit 0
fi
echo "install test ($MODE): $failures check(s) failed"
exit 1
