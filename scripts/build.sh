#!/usr/bin/env bash
# scripts/build.sh BUILD_DIR [cmake options...]: configures and builds.
set -euo pipefail
dir=$1; shift
jobs=$(nproc)
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
