#!/usr/bin/env bash
# Installs what this machine lacks for building and testing, from Debian's
# packages; does nothing when all is there. Runs as root (or through sudo).
#
#   tools/setup.sh             the build and the test suites
#   tools/setup.sh --windows   also the Windows cross-builds and their Wine runs
#   tools/setup.sh --package   also what the packages need: dpkg-dev and file
#                              for the .deb's dependencies, groff for checking
#                              the man page
#   tools/setup.sh --bench     also the benchmarks and their corpus tools
#   tools/setup.sh --32bit     also the 32-bit runs: g++-multilib, and where
#                              the machine runs 32-bit programs, the 32-bit
#                              Wine for the i686 DLLs (with --windows)
#
# The archive is not always in step with itself: an index may fail to
# download while a mirror syncs, and i386 packages may lag their amd64
# twins. So `apt-get update` is tried a few times and a failing index is
# named and left behind when what we need installs without it. A package we
# need that will not install fails the set-up, by name. The 32-bit Wine is a
# best effort: when it is missing, the reason is left in
# build/setup/wine32-not-run, where .ci/run reads it.
set -euo pipefail

want_windows=0
want_package=0
want_bench=0
want_32bit=0
for arg in "$@"; do
  case "$arg" in
    --windows) want_windows=1 ;;
    --package) want_package=1 ;;
    --bench) want_bench=1 ;;
    --32bit) want_32bit=1 ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

here=$(cd "$(dirname "$0")" && pwd)
wine32_note="$here/../build/setup/wine32-not-run"
update_tries=3

packages=(cmake ninja-build g++ clang libgtest-dev valgrind libsqlite3-dev nlohmann-json3-dev libcli11-dev)
if [ "$want_windows" = 1 ]; then
  # Cross compilers, wine64 for the 64-bit twin, pefile for the static
  # checks, and the locale source Wine needs for code page 932.
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 python3-pefile locales)
fi
if [ "$want_package" = 1 ]; then
  packages+=(dpkg-dev file groff-base)
fi
if [ "$want_32bit" = 1 ]; then
  packages+=(g++-multilib googletest)  # GoogleTest's sources, built for 32 bits
fi
if [ "$want_bench" = 1 ]; then
  # Google Benchmark; TagLib (found through pkg-config) for the peer reader;
  # lame and ffmpeg for the corpus; GNU time and strace for the whole-process
  # runs' peak memory and system calls.
  packages+=(libbenchmark-dev libtag1-dev pkgconf lame ffmpeg time strace)
fi

run_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# apt-get update, tried a few times. When an index still fails, the indexes
# named in apt's messages are left in $failed_indexes and the status is 1;
# the ones that came are in use either way.
failed_indexes=""
update_indexes() {
  local try output
  for ((try = 1; try <= update_tries; ++try)); do
    if output=$(run_root apt-get update -qq 2>&1); then
      failed_indexes=""
      return 0
    fi
    [ "$try" = "$update_tries" ] || sleep $((try * 15))
  done
  failed_indexes=$(printf '%s\n' "$output" |
    sed -n -e "s/.*Failed to fetch \([^ ]*\).*/\1/p" -e "s/.*repository '\([^']*\)'.*/\1/p" |
    sort -u | paste -sd ' ' -)
  [ -n "$failed_indexes" ] || failed_indexes="(apt-get named none: $(printf '%s\n' "$output" | tail -n 1))"
  echo "setup.sh: warning: apt-get update failed $update_tries times; going on without the index $failed_indexes" >&2
  return 1
}

# Installs the packages given; when that fails, the ones apt-get cannot
# install on their own are left in $refused (all of them when each would).
refused=()
install_packages() {
  refused=()
  if DEBIAN_FRONTEND=noninteractive run_root apt-get install -y -qq --no-install-recommends "$@"; then
    return 0
  fi
  local package
  for package in "$@"; do
    apt-get install -s -qq --no-install-recommends "$package" >/dev/null 2>&1 || refused+=("$package")
  done
  [ ${#refused[@]} -gt 0 ] || refused=("$@")
  return 1
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup.sh: installing ${missing[*]}"
  update_indexes || true
  if ! install_packages "${missing[@]}"; then
    echo "setup.sh: cannot install ${refused[*]}${failed_indexes:+ (apt-get update failed for $failed_indexes)}" >&2
    exit 1
  fi
fi

if [ "$want_windows" = 1 ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  run_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# The 32-bit Wine only where 32-bit programs run at all: it comes from the
# i386 architecture, which dpkg must know first.
if [ "$want_32bit" = 1 ] && [ "$want_windows" = 1 ]; then
  reason=""
  if ! probe=$(sh "$here/runs-32bit.sh" 2>&1); then
    reason="${probe#runs-32bit: }"
  elif ! installed wine32:i386; then
    echo "setup.sh: installing wine32:i386 (the 32-bit runs need it; without it they are left out)"
    if ! dpkg --print-foreign-architectures | grep -qx i386 && ! run_root dpkg --add-architecture i386; then
      reason="dpkg would not add the i386 architecture"
    else
      update_indexes || true
      if ! install_packages wine32:i386; then
        reason="apt-get could not install wine32:i386${failed_indexes:+ (apt-get update failed for $failed_indexes)}"
      fi
    fi
  fi
  mkdir -p "$(dirname "$wine32_note")"
  if [ -n "$reason" ]; then
    echo "setup.sh: no 32-bit Wine: $reason"
    printf '%s\n' "$reason" >"$wine32_note"
  else
    rm -f "$wine32_note"
  fi
fi
