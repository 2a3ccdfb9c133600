#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (clang and its libFuzzer for the fuzz
# targets), and nothing that is already there.
# Safe to run any number of times; uses sudo when not run as root.
set -euo pipefail
pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev liblapack-dev xvfb xauth poppler-utils
      desktop-file-utils dpkg-dev file clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
