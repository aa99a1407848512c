# Shared by the whole-program benchmarks (sourced, not run).

# Milliseconds between two $EPOCHREALTIME stamps.
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) * 1000 }'; }
# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# lay_program_folder FROM TO: a program folder at TO with FROM's entries
# linked, and a set-up record of empty texts with "save dialog entries" on (a
# little-endian 1 at byte 138), so that no "No setup file" box holds a start
# and FROM is left as it was.
lay_program_folder() {
  local entry
  mkdir "$2"
  for entry in "$1"/*; do
    case $(basename "$entry") in orbisco.cfg | orbisco.dat | orbisco.ini) continue ;; esac
    ln -s "$entry" "$2/"
  done
  { head -c 138 /dev/zero; printf '\001\000\000\000'; } >"$2/orbisco.cfg"
}

# The script's own comment, as its usage.
usage() {
  sed -n '2,/^set -euo/p' "$0" | sed '$d'
  exit 2
}

# take_programs PROGRAM...: the programs by absolute name into `programs`,
# and `program_dir` made absolute (the first program's folder unless given).
take_programs() {
  [ $# -gt 0 ] || usage
  programs=()
  local p
  for p in "$@"; do programs+=("$(readlink -f "$p")"); done
  [ -n "$program_dir" ] || program_dir=$(dirname "${programs[0]}")
  program_dir=$(readlink -f "$program_dir")
}
