#!/usr/bin/env bash
# Installing and packaging the game.
#
#   install_test.sh tree BUILD   cmake --install into a scratch prefix: the
#                                layout, the bytes, the desktop files, a headless start
#   install_test.sh deb BUILD    cpack's Debian package through dpkg: install, start
#                                from the PATH, purge, nothing left (root and dpkg
#                                only; exits 77, skipped, elsewhere)
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

installed() { dpkg-query -W -f='${Status}' quorbel 2>/dev/null | grep -q 'ok installed'; }
# Installed, half-installed or with its configuration files left: dpkg still has it.
present() {
    local status
    status=$(dpkg-query -W -f='${Status}' quorbel 2>/dev/null) || return 1
    [ -n "$status" ] && [[ "$status" != *not-installed ]]
}
absent() { ! present; }

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

    if present; then
        echo "note: quorbel was installed here before the test (an earlier run?); purging it"
        dpkg_patiently --purge quorbel >/dev/null
    fi
    cleanup_hooks+=("present && dpkg_patiently --purge quorbel >/dev/null")
    if ! dpkg_patiently -i "$deb" >"$SCRATCH/dpkg-i.log"; then
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

    local files
    files=$(dpkg -L quorbel)
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
