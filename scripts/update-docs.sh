#!/usr/bin/env bash
# scripts/update-docs.sh [BUILD_DIR]: copies the pictures the tests drew into
# the build folder's "pictures" (build-test/ by default, after ./test or
# ctest there) over those of docs/.
# Only pictures docs/ already holds are copied; a new one is added by hand.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-test}
copied=0
for doc in "$root"/docs/*.png; do
  drawn=$build/pictures/$(basename "$doc")
  if [ -f "$drawn" ]; then
    cp "$drawn" "$doc"
    copied=$((copied + 1))
  else
    echo "not drawn by the tests in $build: $(basename "$doc")" >&2
  fi
done
echo "$copied pictures copied into docs/"
