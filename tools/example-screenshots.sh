#!/usr/bin/env bash
# Builds the examples and runs each one headless through its checks
# (examples/check_examples.py); the picture each saves with SaveScreen becomes
# docs/examples/NAME.png. Usage: tools/example-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
out="$root/docs/examples"
names=(sprites text sound input pathfind offscreen archive download)
mkdir -p "$out"
cmake --build "$build" -j 2 --target "${names[@]/#/example_}"
for name in "${names[@]}"; do
    python3 "$root/examples/check_examples.py" "$name" "$build/examples" --screenshot "$out/$name.png"
done
