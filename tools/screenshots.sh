#!/usr/bin/env bash
# Plays one game under Xvfb with the play-through harness and photographs the
# real window (opened at 4x on the 1920 x 1080 screen) at the moments it names: the menu, a Normal board with a face
# under the pointer, a celebration and the results. Needs xvfb, xdotool, xwd
# and python3. Usage: tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$build/screenshots}")
mkdir -p "$out"

# An xwd picture (32 bits a pixel, as Xvfb's 24-bit screen gives) on
# standard input, written as an RGB PNG.
xwd_to_png() {
    python3 -c '
import struct, sys, zlib
data = sys.stdin.buffer.read()
f = struct.unpack(">25I", data[:100])
size, width, height, order, bpp, stride, colours = f[0], f[4], f[5], f[7], f[11], f[12], f[19]
assert bpp == 32, bpp
start = size + 12 * colours
raw = bytearray()
for y in range(height):
    raw.append(0)
    line = data[start + y * stride:start + y * stride + 4 * width]
    for p in struct.unpack(("<" if order == 0 else ">") + "%dI" % width, line):
        raw += bytes((p >> 16 & 255, p >> 8 & 255, p & 255))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
' "$1"
}

run() {
    local log moments; log=$(mktemp); moments=$(mktemp)
    # QUORBEL_TEST_ON_DISPLAY: the tests use the display they are given
    # instead of going headless.
    QUORBEL_SCREENSHOTS=$moments QUORBEL_TEST_ON_DISPLAY=1 \
        "$build/test_game" --gtest_filter='PlayThrough.*' >"$log" 2>&1 &
    local pid=$!
    local taken=0
    while kill -0 "$pid" 2>/dev/null; do
        # The software-rendering warning is a real box here, once for every
        # game the harness starts: dismiss it as a player would.
        for box in $(xwininfo -root -tree | awk '/"!!OpenGL Software Emulation!!"/ {print $1}'); do
            xdotool key --window "$box" Return || true
        done
        while read -r name; do
            id=$(xdotool search --name '^Quorbel' | head -1)
            [ -n "$id" ] && xwd -silent -id "$id" | xwd_to_png "$out/$name.png" && echo "took $name"
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
