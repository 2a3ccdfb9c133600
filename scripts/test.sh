#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test, then builds and runs the core
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, with the bounds checks of
# the 1-based arrays on. The Debian package is built and checked after the first test run.
# Last, the fuzz targets replay their seeds and regressions and each runs for 20 seconds.
# Under CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi

cmake -S . -B build -G Ninja -DTESSAN_WERROR=$werror
cmake --build build
ctest --test-dir build --output-on-failure
# The Debian package and a staged install (a few seconds; needs the workbench and dpkg-deb).
if [ -x build/app/tessan ] && command -v dpkg-deb >/dev/null; then
  bash scripts/check-package.sh build
fi

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAN_WERROR=$werror \
      -DTESSAN_SANITIZE=ON -DTESSAN_BUILD_UI=OFF -DTESSAN_BUILD_BENCH=OFF
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure

bash scripts/fuzz.sh 20
