#!/usr/bin/env bash
# Installs what Orbiscope needs to build on Debian 12, when it is missing.
# As root it runs apt-get; otherwise it prints the one line to run and stops.
#   scripts/setup.sh          the build and the benchmarks
#   scripts/setup.sh --tests  also what the tests need (a decimal-comma locale)
#   scripts/setup.sh fuzz     also clang and its fuzzer runtime (fuzz/run.sh)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config xz-utils qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev
          libgtest-dev libgmock-dev libbenchmark-dev libgl-dev
          poppler-utils)
want_locale=
for arg in "$@"; do
  case $arg in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    # The tests also read numbers under a decimal-comma locale, to prove that
    # parsing and printing never follow the user's locale.
    --tests)
      if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        want_locale=de_DE.UTF-8
        packages+=(locales)
      fi ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && [ -z "$want_locale" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  if [ -n "$want_locale" ]; then
    sed -i "s/^# *\($want_locale\)/\1/" /etc/locale.gen
    grep -q "^$want_locale" /etc/locale.gen || echo "$want_locale UTF-8" >> /etc/locale.gen
    locale-gen >/dev/null
  fi
else
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Orbiscope needs these packages; run:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
  fi
  [ -n "$want_locale" ] && echo "The tests need the locale $want_locale; run: sudo locale-gen $want_locale" >&2
  exit 1
fi
