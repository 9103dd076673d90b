#!/usr/bin/env bash
# The long fuzz campaign, outside CI: every libFuzzer target of the sanitized
# build for FUZZ_SECONDS (default 30 minutes), FUZZ_JOBS at a time, each from
# a copy of its seed corpus. Prints one line per target: runs, seconds, and
# whether it found a crash; crashing inputs are kept in build-san/fuzz-long/.
#   tools/fuzz-long.sh [build-san] [target...]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-san}
shift || true
seconds=${FUZZ_SECONDS:-1800}
jobs=${FUZZ_JOBS:-2}
out="$build/fuzz-long"
mkdir -p "$out"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$build"/tests/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f")"); done
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build (configure it with -DQUORBEL_FUZZ=ON)"; exit 1; }

run_one() {
  local name=$1 corpus="$out/$1.corpus" log="$out/$1.log"
  rm -rf "$corpus" && mkdir -p "$corpus" "$out/$1.crashes"
  [ -d "tests/fuzz/corpus/$name" ] && cp -r "tests/fuzz/corpus/$name/." "$corpus/"
  ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/$name" -max_total_time="$seconds" \
    -rss_limit_mb=2048 -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$out/$1.crashes/" "$corpus" >"$log" 2>&1
  local code=$?
  local runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  local secs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | awk '{print $5}')
  local found=$(ls "$out/$1.crashes" | wc -l)
  printf '%-28s runs %12s  seconds %6s  corpus %5s  exit %d  crashes %d\n' "$name" \
    "${runs:-?}" "${secs:-$seconds}" "$(ls "$corpus" | wc -l)" "$code" "$found"
}

running=0
for name in "${targets[@]}"; do
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait
