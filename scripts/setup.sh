#!/usr/bin/env bash
# Installs what Orbiscope needs to build on Debian 12, when it is missing.
# As root it runs apt-get; otherwise it prints the one line to run and stops.
#   scripts/setup.sh        the build, the tests and the benchmarks
#   scripts/setup.sh fuzz   also clang and its fuzzer runtime (fuzz/run.sh)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config xz-utils qt6-base-dev libjpeg62-turbo-dev
          libgtest-dev libgmock-dev libbenchmark-dev libgl-dev)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "Orbiscope needs these packages; run:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
