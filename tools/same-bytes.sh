#!/bin/sh
# same-bytes.sh LINUX_BUILD_DIR WIN64_BUILD_DIR
# Writes the shared case files once (ASCII names) beside the sample disc's
# files, then has the Linux modules (code page 932 through
# LC_ALL=ja_JP.SJIS) and the 64-bit Windows modules under wine64 (ANSI code
# page 932 through LC_ALL=ja_JP.UTF-8) report every value, title and line of
# every file, and compares the two reports byte for byte. Exit status 0
# only when they are identical.
set -eu
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
wine64=${WINE64:-/usr/lib/wine/wine64}
if [ ! -x "$wine64" ]; then
  echo "same-bytes: no $wine64, comparison not run" >&2
  exit 0
fi
work="$windows/same-bytes"
rm -rf "$work"
mkdir -p "$work/files"

"$linux/bin/zavcases" write "$work/files"
# The sample disc too, when it is there: files another tool wrote.
source_dir=$(cd "$(dirname "$0")/.." && pwd)
if [ -d "$source_dir/examples/disc" ]; then
  find "$source_dir/examples/disc" -type f -exec cp {} "$work/files/" \;
fi
LC_ALL=ja_JP.SJIS "$linux/bin/zavcases" dump "$linux/bin/zavaudio.so" "$linux/bin/zavrtfp.so" \
  "$work/files" >"$work/linux.txt"

WINEPREFIX=${WINEPREFIX:-$windows/wineprefix} WINEDEBUG=-all LC_ALL=ja_JP.UTF-8 \
  WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" \
  "$wine64" "$windows/bin/zavcases.exe" dump "$windows/bin/zavaudio.dll" \
  "$windows/bin/zavrtfp.dll" "$work/files" </dev/null 2>/dev/null | tr -d '\r' >"$work/windows.txt"

files=$(grep -c '^== .* through rtf$' "$work/linux.txt" || true)
if [ "$files" -eq 0 ] || ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "same-bytes: Linux and Windows reports differ (see $work)" >&2
  exit 1
fi
echo "same-bytes: $files files through both modules, every value, title and line identical on Linux and Windows"
