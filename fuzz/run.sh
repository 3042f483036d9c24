#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz on a corpus seeded by make_seeds.py:
#   fuzz/run.sh SECONDS [JOBS]
# SECONDS per target (make fuzz-smoke uses 10). Each target's corpus lives in
# build/fuzz/corpus/<kind>, so longer runs build on earlier ones; findings (crash-*,
# timeout-*, oom-*) land in build/fuzz/findings and fail the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
build=$root/build/fuzz
python3 -B "$root/fuzz/make_seeds.py" "$build/seeds" >/dev/null
mkdir -p "$build/findings"
status=0
for kind in bmp jpeg png emf wmf icon bmp_loader gif_size; do
  target=$build/fuzz/fuzz_$kind
  [ -x "$target" ] || { echo "fuzz: $target missing (make fuzz)" >&2; exit 1; }
  corpus=$build/corpus/$kind
  mkdir -p "$corpus"
  log=$build/findings/$kind.log
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$kind-" "$corpus" "$build/seeds/$kind" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    echo "fuzz: $kind ok, $runs runs in ${seconds}s"
  else
    echo "fuzz: $kind FAILED, see $log" >&2
    tail -30 "$log" >&2
    status=1
  fi
done
exit $status
