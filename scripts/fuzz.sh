#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz (clang, -DTESSAN_FUZZ=ON), replays their seeds and
# regressions (ctest), then runs each target for SECONDS (default 20) on a copy of its seeds,
# one target at a time. A crash or a broken promise stops the run with status 1 and leaves the
# input in build-fuzz/run/crashes/; nothing is written into the repository.
# Usage: bash scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: fits model settings number)
# Under CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fits model settings number)
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTESSAN_FUZZ=ON -DTESSAN_WERROR=$werror
cmake --build build-fuzz
# The targets write their input files for every execution: in memory where the machine allows.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
ctest --test-dir build-fuzz --output-on-failure

run=build-fuzz/run
rm -rf "$run/corpus"
mkdir -p "$run/corpus" "$run/crashes"
for t in "${targets[@]}"; do
  cp -r "fuzz/corpus/$t" "$run/corpus/$t"
  if ! build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -dict="fuzz/$t.dict" \
       -artifact_prefix="$run/crashes/$t-" -print_final_stats=1 "$run/corpus/$t" 2>"$run/$t.log"; then
    tail -n 40 "$run/$t.log"
    echo "fuzz_$t failed: the input is in $run/crashes, the log in $run/$t.log" >&2
    exit 1
  fi
  echo "fuzz_$t: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$run/$t.log" | tail -n 1)"
done
