#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET...]
# Builds the libFuzzer targets with clang in build-fuzz and runs each for
# SECONDS (every target under fuzz/ when none is named), then prints the
# executions and coverage of each.  Knobs, as environment variables:
#   FUZZ_PARALLEL  how many targets run at once (default 1)
#   FUZZ_TIMEOUT   seconds one input may take before it counts as a hang
#                  (default 10; raise it on a loaded machine)
#   JOBS           the build's parallelism (default: all processors)
# New inputs go to build-fuzz/corpus/TARGET; a finding is written to
# build-fuzz/findings/TARGET/ and fails the run: mend it, then copy the input
# into fuzz/TARGET/corpus/ so that every test build replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1; shift
scripts/setup.sh fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in fuzz/*/; do
    [ -f "$d/fuzz.cpp" ] && targets+=("$(basename "$d")")
  done
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBISCOPE_FUZZ=ON -DORBISCOPE_BUILD_TESTS=OFF -DORBISCOPE_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "${JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Absolute paths: the document windows' application makes its program
# folder the current one.
out=$PWD/build-fuzz
run_one() {
  local t=$1
  mkdir -p "$out/corpus/$t" "$out/findings/$t" "$out/logs"
  # The document windows and the batch forms run on the window system's
  # library, whose caches look like leaks to the per-input check; the
  # process-end check stays.
  local leaks=1
  [[ $t == doc_* || $t == batch_* ]] && leaks=0
  local code=0
  "$out/fuzz_$t" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-10}" -print_final_stats=1 -detect_leaks=$leaks \
    -artifact_prefix="$out/findings/$t/" "$out/corpus/$t" "$PWD/fuzz/$t/corpus" >"$out/logs/$t.log" 2>&1 || code=$?
  echo "$code" >"$out/logs/$t.status"
}

parallel=${FUZZ_PARALLEL:-1}
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  rm -f "$out/logs/$t.status"
  run_one "$t" &
  running=$((running + 1))
done
wait

status=0
for t in "${targets[@]}"; do
  if [ "$(cat "$out/logs/$t.status" 2>/dev/null)" != 0 ]; then
    status=1
    echo "finding in $t: see build-fuzz/logs/$t.log and build-fuzz/findings/$t/" >&2
  fi
done

printf '%-16s %14s %10s %10s %8s\n' target executions "exec/s" coverage features
for t in "${targets[@]}"; do
  log=build-fuzz/logs/$t.log
  # A run that ended before its first coverage line has none to show.
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$( (grep -o 'cov: [0-9]*' "$log" || true) | tail -1 | cut -d' ' -f2)
  ft=$( (grep -o 'ft: [0-9]*' "$log" || true) | tail -1 | cut -d' ' -f2)
  printf '%-16s %14s %10s %10s %8s\n' "$t" "${execs:--}" "${rate:--}" "${cov:--}" "${ft:--}"
done
exit $status
