#!/usr/bin/env bash
# `make test` after the desktop build: the release build's tests, the
# sanitized build and its tests with the fuzz smoke, then the browser tests.
# The browser build (`make web`, mostly configure steps on one core) runs
# beside the desktop tests at the lowest priority, so it takes only the time
# they leave idle and never the time a test waits for.
#
#   tools/test-all.sh BUILD WEBBUILD JOBS
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1 webbuild=$2 jobs=$3

mkdir -p "$webbuild"
log=$webbuild/web-build.log
echo "browser build started beside the tests (log: $log)"
# The desktop build has made the media already; the browser build only reads it.
setsid nice -n 19 env QUORBEL_WEB_MEDIA_BUILT=1 \
  make --no-print-directory web BUILD="$build" WEBBUILD="$webbuild" JOBS="$jobs" >"$log" 2>&1 &
web=$!
trap 'kill -- -$web 2>/dev/null || true' EXIT

make --no-print-directory test-desktop BUILD="$build" JOBS="$jobs"
make --no-print-directory test-san JOBS="$jobs"

echo "waiting for the browser build"
if ! wait $web; then
  tail -40 "$log"
  echo "the browser build failed (log: $log)" >&2
  exit 1
fi
trap - EXIT
tail -2 "$log"
make --no-print-directory web-tests BUILD="$build" WEBBUILD="$webbuild"
