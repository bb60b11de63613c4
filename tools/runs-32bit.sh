#!/bin/sh
# runs-32bit.sh: exit status 0 when this machine builds and runs a 32-bit
# x86 program (gcc -m32 from g++-multilib, and a kernel that executes it);
# otherwise 1, with the reason on standard error. Some machines of this
# kind run no 32-bit programs; the 32-bit runs are skipped there.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n' >"$dir/probe.c"
if ! gcc -m32 "$dir/probe.c" -o "$dir/probe" >/dev/null 2>&1; then
  echo "runs-32bit: gcc -m32 builds nothing here (is g++-multilib installed?)" >&2
  exit 1
fi
if ! "$dir/probe" >/dev/null 2>&1; then
  echo "runs-32bit: this machine's kernel does not run 32-bit x86 programs" >&2
  exit 1
fi
