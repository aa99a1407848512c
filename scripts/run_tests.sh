#!/usr/bin/env bash
# scripts/run_tests.sh BUILD_DIR [ctest options...]: runs every test of a
# configured and built folder, and holds the tests to two rules of theirs:
#  - every test entry has a timeout, so that a hang fails naming its entry;
#  - a test touches nothing outside its own temporary folders: the temporary
#    folder, the home and the desktop's user folders point at empty folders
#    of the build (BUILD_DIR/test-home), and whatever is left in them when
#    the tests end fails the run, named.
# A Ctrl-C or TERM stops the tests, then the check names what they left, and
# the script ends with the signal's status (130 or 143).
set -euo pipefail
dir=${1:?usage: scripts/run_tests.sh BUILD_DIR [ctest options...]}
shift
scripts=$(cd "$(dirname "$0")" && pwd)

cmake -DBUILD_DIR="$dir" -P "$scripts/check_test_timeouts.cmake"

# The variables that name a temporary folder or a home, and their folders.
declare -A folders=(
  [TMPDIR]=tmp [HOME]=home [XDG_CONFIG_HOME]=config [XDG_DATA_HOME]=data
  [XDG_CACHE_HOME]=cache [XDG_STATE_HOME]=state [XDG_RUNTIME_DIR]=runtime)

# Empty folders under $1.  The temporary folder is open to all, as /tmp is:
# a test's child that gives up root makes its files there too.  The rest are
# the user's own; the runtime folder must be, or the program makes a folder
# of its own in the temporary one instead.
make_folders() {
  # A leftover that its test made unreadable is emptied all the same.
  [ -e "$1" ] && { chmod -R u+rwX "$1" 2>/dev/null || true; }
  rm -rf "$1"
  mkdir -p "$1"
  for f in "${folders[@]}"; do mkdir -m 0700 "$1/$f"; done
  chmod 1777 "$1/tmp"
}

root=$(cd "$dir" && pwd)/test-home
make_folders "$root"
# As root, the tests' children that give up root must reach their folders;
# a build inside a folder closed to others (root's home) runs them in /tmp.
if [ "$(id -u)" -eq 0 ] &&
   ! setpriv --reuid=65534 --regid=65534 --clear-groups test -w "$root/tmp" 2>/dev/null; then
  rm -rf "$root"
  root=$(mktemp -d /tmp/orbiscope-test-home.XXXXXX)
  chmod 0755 "$root"
  trap 'rm -rf "$root"' EXIT
  make_folders "$root"
  echo "note: $dir is closed to other users; the tests' own folders are in $root" >&2
fi
for variable in "${!folders[@]}"; do export "$variable=$root/${folders[$variable]}"; done
export TMP=$TMPDIR TEMP=$TMPDIR

# ctest runs as a job of its own (its own process group, with every test it
# starts), so that a Ctrl-C or TERM given to this script is passed on to all
# of them and the check below still runs, naming what the stopped tests
# left, instead of the next run removing it without a word.
signal=
tests=
stop() {
  signal=$1
  [ -z "$tests" ] || kill -s "$1" -- "-$tests" 2>/dev/null || true
}
trap 'stop INT' INT
trap 'stop TERM' TERM
status=0
set -m
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "$@" </dev/null &
tests=$!
set +m
[ -z "$signal" ] || stop "$signal"
wait "$tests" || status=$?
if [ -n "$signal" ]; then
  # The signal ends the wait at once.  ctest and its tests are given a few
  # seconds to end on it, then killed: one that outlived ctest or shrugged
  # the signal off would go on writing behind the check.  Only zombies that
  # nobody reaps (a container without an init) outlast that.
  deadline=$((SECONDS + 10))
  killed=
  while kill -0 -- "-$tests" 2>/dev/null; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      [ -z "$killed" ] || break
      kill -s KILL -- "-$tests" 2>/dev/null || true
      killed=1
      deadline=$((SECONDS + 5))
    fi
    sleep 0.1 || true
  done
  wait "$tests" 2>/dev/null || true
  echo "The tests were stopped by SIG$signal." >&2
fi

# Anything but the folders themselves; one this user may not read is named
# by find's own complaint.
own=()
for f in "${folders[@]}"; do own+=(-o -path "$root/$f"); done
left=$(find "$root" -mindepth 1 ! \( -false "${own[@]}" \) 2>&1 || true)
if [ -n "$left" ]; then
  echo "Tests left files in their temporary and home folders (a test keeps to folders of its own):" >&2
  echo "$left" >&2
  status=1
fi
if [ -n "$signal" ]; then
  # Ended by the signal itself, so that a calling shell or loop stops too
  # (status 130 or 143).
  trap - "$signal"
  kill -s "$signal" $$
fi
exit "$status"
