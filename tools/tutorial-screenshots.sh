#!/usr/bin/env bash
# The pictures of docs/tutorial.md. The SDK is installed from the build into a
# scratch prefix and the starter copied out of it; each step's program is made
# from the tutorial's own code (tools/tutorial_code.py --step N), built against
# that prefix and run headless with its autopilot, and the screen it saves
# becomes docs/tutorial/stepN.png. Step 9 is the finished game copied alone
# into an empty folder. Usage: tools/tutorial-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
out="$root/docs/tutorial"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorbel-tutorial.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

cmake --build "$build" -j 2 --target quorbel_runtime quorbel_platform sbpack
cmake --install "$build" --component sdk --prefix "$scratch/sdk" >/dev/null
cp -r "$scratch/sdk/share/quorbel/starter" "$scratch/game"
cmake -S "$scratch/game" -B "$scratch/game/build" -G Ninja \
    -DCMAKE_PREFIX_PATH="$scratch/sdk" >/dev/null
mkdir -p "$out" "$scratch/tmp" "$scratch/alone"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TMPDIR="$scratch/tmp"

# Frames before each picture: the ship needs a few dozen to reach the first
# coin, and a couple of seconds to have caught some.
frames=(0 2 2 40 150 150 150 150)
for step in 1 2 3 4 5 6 7; do
    python3 "$root/tools/tutorial_code.py" --root "$root" --step "$step" \
        --out "$scratch/game/starter.cpp"
    cmake --build "$scratch/game/build" >/dev/null
    rm -f "$scratch/game/build/starter.ini"
    "$scratch/game/build/starter" --frames "${frames[$step]}" --shot "$out/step$step.png" >/dev/null
    echo "docs/tutorial/step$step.png"
done

cp "$scratch/sdk/share/quorbel/starter/starter.cpp" "$scratch/game/starter.cpp"
cmake --build "$scratch/game/build" >/dev/null
cp "$scratch/game/build/starter" "$scratch/alone/"
"$scratch/alone/starter" --frames 150 --shot "$out/step9.png" >/dev/null
echo "docs/tutorial/step9.png"
