#!/usr/bin/env bash
# Whole-process start-up and shut-down of the program, timed from outside.
#
#   bench/startup_time.sh [-n STARTS] [-c CPUS] [-x] [-f] [-d PROGRAM_DIR] [-o FILE]... PROGRAM [PROGRAM...]
#
# Each start runs with ORBISCOPE_EXIT_WHEN_SHOWN set: the program prints
# "frame shown" once its main window has painted, then exits through File
# Exit.  "start" is the time from launch to that line, "exit" from the line to
# the end of the process.  Several programs (say a build before and after a
# change) are started in turn, A B A B ..., so that they share the machine's
# moods; the medians of each come last, with the load average.
#
#   -n STARTS  starts per program (default 15)
#   -c CPUS    the processors the program may use, as taskset takes them (0,1)
#   -x         show the windows on a private Xvfb server rather than offscreen
#   -f         every start with an empty cache folder, so that the maps are
#              read from their texts (default: the parsed copies the first,
#              uncounted start of each program leaves there are used)
#   -o FILE    a document each start opens (its window is open at exit);
#              may be given several times
#   -d DIR     the program folder, where the maps are (default: the first
#              program's own folder)
# The program runs in a folder of its own made here (links to the program
# folder's files, and a set-up file that asks for the dialog values to be
# saved at exit), so that no box holds the start and the folder the program
# came from is left as it was.  Every start gets a fresh home, so none finds
# another's recent files or lock.
set -euo pipefail
. "$(dirname "$0")/bench_support.sh"

starts=15
cpus=""
use_xvfb=0
fresh_cache=0
documents=()
program_dir=""
while getopts "n:c:xfd:o:" opt; do
  case $opt in
    n) starts=$OPTARG ;;
    c) cpus=$OPTARG ;;
    x) use_xvfb=1 ;;
    f) fresh_cache=1 ;;
    o) documents+=("$(readlink -f "$OPTARG")") ;;
    d) program_dir=$OPTARG ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
take_programs "$@"

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ "$use_xvfb" = 1 ]; then
  display=""
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "no free display" >&2; exit 1; }
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
  export DISPLAY=$display QT_QPA_PLATFORM=xcb
else
  export QT_QPA_PLATFORM=offscreen
fi

pin=()
[ -z "$cpus" ] || pin=(taskset -c "$cpus")


one_start() {
  local program=$1 home=$work/home-$RANDOM$RANDOM t0 t1="" t2 line cache
  # Each program its own cache folder: one build's copies are not another's.
  cache=$work/cache-$(basename "$program")-$(echo "$program" | cksum | cut -d' ' -f1)
  [ "$fresh_cache" = 0 ] || rm -rf "$cache"
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  t0=$EPOCHREALTIME
  while IFS= read -r line; do
    [ "$line" = "frame shown" ] && t1=$EPOCHREALTIME
  done < <(HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$cache \
           ORBISCOPE_HOME=$program_dir \
           ORBISCOPE_EXIT_WHEN_SHOWN=1 exec "${pin[@]}" "$program" "${documents[@]}" 2>/dev/null)
  t2=$EPOCHREALTIME
  rm -rf "$home"
  if [ -z "$t1" ]; then echo "fail fail"; return; fi
  echo "$(ms "$t0" "$t1") $(ms "$t1" "$t2")"
}

lay_program_folder "$program_dir" "$work/program"
program_dir=$work/program

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "programs: ${programs[*]}"
echo "documents open: ${#documents[@]}"
echo "cpus: ${cpus:-all}  platform: $QT_QPA_PLATFORM  starts: $starts  cache: $([ "$fresh_cache" = 1 ] && echo "empty at every start" || echo "filled by the first start")"
# One start each, not counted: the files reach the page cache.
for p in "${programs[@]}"; do one_start "$p" >/dev/null; done
for i in $(seq "$starts"); do
  for k in "${!programs[@]}"; do
    echo "${programs[$k]} $(one_start "${programs[$k]}")" >>"$work/times"
  done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-60s %12s %12s %6s\n" program "start ms" "exit ms" failed
for p in "${programs[@]}"; do
  failed=$(awk -v p="$p" '$1 == p && $2 == "fail"' "$work/times" | wc -l)
  s=$(awk -v p="$p" '$1 == p && $2 != "fail" { print $2 }' "$work/times" | median)
  e=$(awk -v p="$p" '$1 == p && $2 != "fail" { print $3 }' "$work/times" | median)
  printf "%-60s %12s %12s %6s\n" "$p" "$s" "$e" "$failed"
done
