#!/usr/bin/env bash
# Plays one game under Xvfb with the play-through harness and photographs the
# real window (opened at 4x on the 1920 x 1080 screen) at the moments it names: the menu, a Normal board with a face
# under the pointer, a celebration and the results. Needs xvfb, xdotool and
# imagemagick. Usage: tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$build/screenshots}")
mkdir -p "$out"

run() {
    local log moments; log=$(mktemp); moments=$(mktemp)
    # QUORBEL_TEST_ON_DISPLAY: the tests use the display they are given
    # instead of going headless.
    QUORBEL_SCREENSHOTS=$moments QUORBEL_TEST_ON_DISPLAY=1 \
        "$build/test_game" --gtest_filter='PlayThrough.*' >"$log" 2>&1 &
    local pid=$!
    # The software-rendering warning is a real box here: dismiss it as a player would.
    for _ in $(seq 600); do
        box=$(xwininfo -root -tree | awk '/"!!OpenGL Software Emulation!!"/ {print $1}')
        [ -n "$box" ] && { xdotool key --window "$box" Return; break; }
        sleep 0.1
    done
    local taken=0
    while kill -0 "$pid" 2>/dev/null; do
        while read -r name; do
            id=$(xdotool search --name '^Quorbel' | head -1)
            [ -n "$id" ] && import -window "$id" "$out/$name.png" && echo "took $name"
            taken=$((taken + 1))
        done < <(grep -a -o 'screenshot: [a-z]*' "$moments" | sed 's/screenshot: //' | tail -n +$((taken + 1)))
        sleep 0.1
    done
    wait "$pid" || { tail -20 "$log"; exit 1; }
    rm -f "$log" "$moments"
}
if [ -z "${QUORBEL_IN_XVFB:-}" ]; then
    QUORBEL_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$build" "$out"
fi
run
