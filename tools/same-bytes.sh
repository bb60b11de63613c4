#!/bin/sh
# same-bytes.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
# Writes the shared case files once (ASCII names) beside the sample disc's
# files, then has the Linux modules (code page 932 through
# LC_ALL=ja_JP.SJIS) and the Windows modules under Wine (ANSI code page 932
# through LC_ALL=ja_JP.UTF-8) report every value, title and line of every
# file, and compares the two reports byte for byte. The Windows build is
# either the 64-bit one (run by wine64) or the i686 one (run by the 32-bit
# loader, where the machine runs 32-bit programs). Exit status 0 only when
# they are identical, or when this machine has no Wine for that build.
set -eu
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
host="$windows/bin/zavcases.exe"

# The machine field of the program's PE header: 014c is i386.
pe_header=$(od -An -tu4 -j60 -N4 "$host" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_header + 4)) -N2 "$host" | tr -d ' ')
if [ "$machine" = 014c ]; then
  wine=${WINE:-/usr/lib/wine/wine}
else
  wine=${WINE:-/usr/lib/wine/wine64}
fi
if ! "$wine" --version >/dev/null 2>&1; then
  echo "same-bytes: $wine cannot run here; comparison for $2 NOT RUN" >&2
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
  "$wine" "$host" dump "$windows/bin/zavaudio.dll" \
  "$windows/bin/zavrtfp.dll" "$work/files" </dev/null 2>/dev/null | tr -d '\r' >"$work/windows.txt"

files=$(grep -c '^== .* through rtf$' "$work/linux.txt" || true)
if [ "$files" -eq 0 ] || ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "same-bytes: Linux and Windows reports differ (see $work)" >&2
  exit 1
fi
echo "same-bytes: $files files through both modules, every value, title and line identical on Linux and Windows ($2)"
