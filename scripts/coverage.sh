#!/usr/bin/env bash
# scripts/coverage.sh [BUILD_DIR]: builds with gcov instrumentation, runs every
# test and prints the line coverage of the program's sources, per top folder.
# A figure from a run with failing tests is still printed, then the tests that
# failed, and the script ends non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-coverage}
command -v gcovr >/dev/null || { echo "coverage needs gcovr (apt-get install gcovr)" >&2; exit 1; }
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Debug -DORBISCOPE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic -O0" -DCMAKE_EXE_LINKER_FLAGS="--coverage"
find "$dir" -name '*.gcda' -delete
log=$dir/tests.log
failed=0
# Through the same checks as ./test: every entry has a timeout, and the tests
# leave nothing in their temporary and home folders.
QT_QPA_PLATFORM=offscreen scripts/run_tests.sh "$dir" >"$log" 2>&1 || failed=1
report=$dir/coverage.txt
gcovr -r . "$dir" --gcov-ignore-parse-errors -j "$(nproc)" \
  --filter '(platform|framework|propagation|linkbudget|pointing|rftools|imaging)/' \
  --exclude '.*tests/.*' -o "$report" -s | grep '^lines'
grep -E '^(platform|framework|propagation|linkbudget|pointing|rftools|imaging)/' "$report" |
  awk '{split($1, p, "/"); t[p[1]] += $2; c[p[1]] += $3}
       END {for (d in t) printf "  %-12s %5.1f %% (%d of %d lines)\n", d, 100 * c[d] / t[d], c[d], t[d]}' | sort
if [ "$failed" -ne 0 ]; then
  echo "tests failed, so the figure above comes from a failing run (their output: $log):" >&2
  sed -nE 's/^\[  FAILED  \] ([^ ]+\.[^ ]+).*/  \1/p' "$log" | sort -u >&2
  sed -n '/The following tests FAILED:/,$p' "$log" | grep -E '^[[:space:]]+[0-9]+ - ' >&2 || true
  # The run's own checks: entries without a timeout, files the tests left.
  awk '/^CMake Error/ {on = 1; print; next} on && /^([[:space:]]|$)/ {print; next} {on = 0}
       /^Tests left files/ {rest = 1} rest' "$log" >&2
  exit 1
fi
