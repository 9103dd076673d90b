#!/usr/bin/env bash
# `make web`: the game and every example built for the browser into
# WEB_BUILD_DIR (build-web): the libraries from Debian's sources (kept
# there), the programs with Emscripten, the media drawn natively by the
# desktop build in DESKTOP_BUILD_DIR, then the site (WEB_BUILD_DIR/site), a
# zip of it (WEB_BUILD_DIR/quorbel-web.zip) and the browser SDK for games of
# one's own (WEB_BUILD_DIR/sdk).
#
#   tools/web/build.sh DESKTOP_BUILD_DIR WEB_BUILD_DIR
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
DESKTOP=$(realpath -m "$1")
OUT=$(realpath -m "$2")
JOBS=${JOBS:-2}
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export JOBS

bash "$ROOT/tools/web/deps.sh" "$OUT"

# The media, drawn and packed by the desktop tools (already there when
# QUORBEL_WEB_MEDIA_BUILT=1).
if [ "${QUORBEL_WEB_MEDIA_BUILT:-0}" != 1 ]; then
  cmake --build "$DESKTOP" --target quorbel_media example_archive_media -j "$JOBS"
fi

emcmake cmake -S "$ROOT" -B "$OUT/cmake" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
  -DQUORBEL_WEB_PREFIX="$OUT/deps/prefix" >/dev/null
cmake --build "$OUT/cmake" -j "$JOBS"

python3 "$ROOT/tools/web/make_site.py" "$OUT/cmake/programs" "$DESKTOP" "$OUT/site" "$OUT/floor"
# The browser SDK, for games of one's own: a fresh prefix every time.
rm -rf "$OUT/sdk"
cmake --install "$OUT/cmake" --component sdk --prefix "$OUT/sdk" >/dev/null
rm -f "$OUT/quorbel-web.zip"
(cd "$OUT" && python3 -m zipfile -c quorbel-web.zip site/)
echo "web: the site is $OUT/site ($(du -sh "$OUT/site" | cut -f1)); zipped: $OUT/quorbel-web.zip"
echo "web: the browser SDK is $OUT/sdk (emcmake cmake -DCMAKE_FIND_ROOT_PATH=$OUT/sdk)"
