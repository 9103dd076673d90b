#!/usr/bin/env bash
# Every fuzz target of the sanitized build for a short run over a copy of its
# seed corpus, two at a time; a target that fails shows its log's end.
#   tools/fuzz-smoke.sh build-san [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1 seconds=${2:-10}

run_one() {
  local target=$1 name work log
  name=$(basename "$target")
  work=$(mktemp -d) log=$(mktemp)
  [ -d "tests/fuzz/corpus/$name" ] && cp -r "tests/fuzz/corpus/$name/." "$work/"
  local code=0
  ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
    "$work" >"$log" 2>&1 || code=$?
  if [ $code = 0 ]; then
    echo "fuzz smoke: $name: $(tail -1 "$log")"
  else
    echo "fuzz smoke: $name FAILED"
    tail -40 "$log"
  fi
  rm -rf "$work" "$log"
  return $code
}
export -f run_one
export seconds

shopt -s nullglob
targets=()
for f in "$build"/tests/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$f"); done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build"; exit 1; }
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'run_one "$@"' _ {}
