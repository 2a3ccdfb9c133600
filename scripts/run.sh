#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample spectra and starts the workbench in the
# sample folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja
cmake --build build
if [ -x build/tools/tessan-samples ]; then
  mkdir -p samples
  build/tools/tessan-samples samples
fi
if [ -x build/app/tessan ]; then
  cd samples 2>/dev/null || true
  exec "$OLDPWD/build/app/tessan" "$@"
fi
echo "The workbench window is not built yet. The command-line driver:"
if [ -x build/app/tessan-batch ]; then
  build/app/tessan-batch --help
fi
