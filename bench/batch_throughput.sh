#!/usr/bin/env bash
# Throughput of tessan-batch over many epochs, timed from outside as a user runs it: the cost of
# one program star after the model is loaded, on one worker and on two.
#
#   cmake --build build --target tessan-batch tessan-samples
#   bash bench/batch_throughput.sh [BUILD_DIR] [STARS] [RUNS]      (defaults: build 1000 7)
#
# Makes once, in BUILD_DIR/batch-epochs (kept for the next run): STARS epochs of 2000 pixels of
# the sample binary (tessan-samples --epochs) and the span-201 model of the sample standard.
# Then runs, RUNS times in turn: the model load alone, and --jobs 1 and --jobs 2 over all the
# epochs (no --ccf, the stars given by --prog-list). Prints the median wall time of each (and
# the median CPU time when /usr/bin/time is installed), the cost of a star (the run's median less
# the load's, divided by STARS) and how many times faster --jobs 2 is per star. Timings vary
# with whatever else the machine runs: compare figures from one run of the script.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
stars=${2:-1000}
runs=${3:-7}
batch=$build/app/tessan-batch
samples=$build/tools/tessan-samples
for exe in "$batch" "$samples"; do
  [ -x "$exe" ] || { echo "missing $exe: cmake --build $build --target tessan-batch tessan-samples" >&2; exit 2; }
done

dir=$build/batch-epochs
mkdir -p "$dir"
cd "$dir"
if [ ! -f std.MDL ] || [ "$(ls epochs 2>/dev/null | wc -l)" -ne "$stars" ]; then
  rm -rf epochs
  "$samples" . --epochs "$stars" >/dev/null
  "$batch" --std standard.fts --span 201 --save-model std.MDL >/dev/null
fi
ls epochs/*.fts >list.txt

declare -A wall cpu
commands=(load jobs1 jobs2)
run() {   # run NAME: one timed run, appended to that name's samples
  local args=(--model std.MDL)
  case $1 in
    jobs1) args+=(--prog-list list.txt --jobs 1) ;;
    jobs2) args+=(--prog-list list.txt --jobs 2) ;;
  esac
  local t0 t1
  if [ -x /usr/bin/time ]; then
    t0=$(date +%s%N)
    /usr/bin/time -f "%U %S" -o cpu.txt "$batch" "${args[@]}" >/dev/null
    t1=$(date +%s%N)
    cpu[$1]+=" $(awk '{ printf "%.3f", $1 + $2 }' cpu.txt)"
  else
    t0=$(date +%s%N)
    "$batch" "${args[@]}" >/dev/null
    t1=$(date +%s%N)
  fi
  wall[$1]+=" $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')"
}
median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for ((r = 0; r < runs; ++r)); do
  for c in "${commands[@]}"; do run "$c"; done
done

echo "tessan-batch, $stars stars of 2000 pixels, span 201, no --ccf; medians of $runs runs (seconds)"
for kind in wall cpu; do
  declare -n samples_of=$kind
  [ -n "${samples_of[load]:-}" ] || continue
  load=$(median <<<"${samples_of[load]}")
  j1=$(median <<<"${samples_of[jobs1]}")
  j2=$(median <<<"${samples_of[jobs2]}")
  awk -v k="$kind" -v l="$load" -v a="$j1" -v b="$j2" -v n="$stars" 'BEGIN {
    printf "%-4s  model load %.3f  --jobs 1 %.3f  --jobs 2 %.3f\n", k, l, a, b
    printf "%-4s  per star: --jobs 1 %.3f ms, --jobs 2 %.3f ms", k, (a - l) / n * 1000, (b - l) / n * 1000
    if (k == "wall") printf "; --jobs 2 is %.2fx faster", (a - l) / (b - l)
    printf "\n" }'
done
