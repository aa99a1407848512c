#!/usr/bin/env bash
# The round trip of a later start: from launching "PROGRAM -ddeopen FILE"
# while a first instance of the same program runs, to the later start's end.
#
#   bench/handover_time.sh [-n STARTS] [-c CPUS] [-d PROGRAM_DIR] PROGRAM [PROGRAM...]
#
# Each program gets a first instance of its own (offscreen, in a home and
# runtime folder of its own, its maps already parsed in the cache), then the
# later starts of the programs take turns, A B A B ..., so that they share the
# machine's moods; the median and the slowest of each come last.  The file
# handed over does not exist: the first instance answers it with a box, which
# nobody is there to see.
#
#   -n STARTS  later starts per program (default 30)
#   -c CPUS    the processors the later starts may use, as taskset takes them
#   -d DIR     the program folder, where the maps are (default: the first
#              program's own folder)
set -euo pipefail
. "$(dirname "$0")/bench_support.sh"

starts=30
cpus=""
program_dir=""
while getopts "n:c:d:" opt; do
  case $opt in
    n) starts=$OPTARG ;;
    c) cpus=$OPTARG ;;
    d) program_dir=$OPTARG ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
take_programs "$@"

work=$(mktemp -d)
firsts=()
cleanup() {
  for pid in "${firsts[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
pin=()
[ -z "$cpus" ] || pin=(taskset -c "$cpus")


lay_program_folder "$program_dir" "$work/program"

# Runs PROGRAM as the user whose home is HOME_DIR, with the rest of the arguments.
as_user() {
  local home=$1; shift
  HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$work/cache \
    XDG_DATA_HOME=$home/data ORBISCOPE_HOME=$work/program "$@"
}
later() {
  local k=$1 t0 t1 status=0
  t0=$EPOCHREALTIME
  as_user "$work/home-$k" "${pin[@]}" "${programs[$k]}" -ddeopen /nonexistent/bench.glb >/dev/null 2>&1 || status=$?
  t1=$EPOCHREALTIME
  echo "$(ms "$t0" "$t1") $status"
}

for k in "${!programs[@]}"; do
  mkdir -p "$work/home-$k/run"
  chmod 700 "$work/home-$k/run"
  # exec: the background job becomes the program, so that $! is its process
  # and the clean-up ends it, not only the shell that started it.
  as_user "$work/home-$k" exec "${programs[$k]}" >/dev/null 2>&1 &
  firsts+=($!)
done
# The first instance holds its lock (which names it) before any later start
# is tried: one tried sooner could take the lock itself and run on as the
# first; then a later start that ends with 0 finds it listening.
for k in "${!programs[@]}"; do
  for _ in $(seq 300); do
    grep -qsx "${firsts[$k]}" "$work/home-$k"/run/orbiscope-*.lock && break
    sleep 0.1
  done
  for _ in $(seq 100); do
    [ "$(later "$k" | cut -d' ' -f2)" = 0 ] && break
    sleep 0.2
  done
done

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "cpus: ${cpus:-all}  later starts: $starts"
for i in $(seq "$starts"); do
  for k in "${!programs[@]}"; do echo "$k $(later "$k")" >>"$work/times"; done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-60s %10s %10s %7s\n" program "median ms" "max ms" failed
for k in "${!programs[@]}"; do
  failed=$(awk -v k="$k" '$1 == k && $3 != 0' "$work/times" | wc -l)
  m=$(awk -v k="$k" '$1 == k { print $2 }' "$work/times" | median)
  x=$(awk -v k="$k" '$1 == k { print $2 }' "$work/times" | sort -g | tail -1)
  printf "%-60s %10s %10s %7s\n" "${programs[$k]}" "$m" "$x" "$failed"
done
