#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample spectra into samples/ and starts the
# workbench there, so that steps 1 to 7 can be run at once on "standard.fts" and "program.fts".
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
bash scripts/deps.sh
cmake -S . -B build -G Ninja
cmake --build build
mkdir -p samples
build/tools/tessan-samples samples
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to open the workbench on: run this from a desktop session."
  echo "Without a display, the command-line driver runs the same analysis:"
  build/app/tessan-batch --help
  exit 0
fi
cd samples
exec "$top/build/app/tessan" "$@"
