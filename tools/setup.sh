#!/usr/bin/env bash
# Installs what this machine lacks for building and testing, from Debian's
# packages; does nothing when all is there. Runs as root (or through sudo).
#
#   tools/setup.sh             the build and the test suites
#   tools/setup.sh --windows   also the Windows cross-builds and their Wine runs
#   tools/setup.sh --bench     also the benchmarks and their corpus tools
set -euo pipefail

want_windows=0
want_bench=0
for arg in "$@"; do
  case "$arg" in
    --windows) want_windows=1 ;;
    --bench) want_bench=1 ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

packages=(cmake ninja-build g++ clang libgtest-dev libsqlite3-dev nlohmann-json3-dev libcli11-dev)
if [ "$want_windows" = 1 ]; then
  # Cross compilers, wine64 for the 64-bit twin, pefile for the static
  # checks, and the locale source Wine needs for code page 932.
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 python3-pefile locales)
fi
if [ "$want_bench" = 1 ]; then
  # Google Benchmark; TagLib (found through pkg-config) for the peer reader;
  # lame and ffmpeg for the corpus; GNU time and strace for the whole-process
  # runs' peak memory and system calls.
  packages+=(libbenchmark-dev libtag1-dev pkgconf lame ffmpeg time strace)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

run_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup.sh: installing ${missing[*]}"
  run_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive run_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$want_windows" = 1 ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  run_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
