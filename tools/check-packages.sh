#!/usr/bin/env bash
# check-packages.sh: checks the packages as a user meets them, after the
# workflows package, package-windows and mingw-i686 have run.
#
# The .deb: its contents listed; the .tar.gz holds the same tree; unpacked
# into a scratch root, its zavcat must find its own plug-ins and read the
# sample disc; the man page must format without a warning and the
# completion must parse. The ZIP: exactly the two DLLs, SHA256SUMS and
# README.txt (UTF-8 with a byte-order mark); the DLLs byte for byte those
# the mingw-i686 workflow tested, passing the static PE checks; the sums
# right. Prints every file with its size.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(zav VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$(ls build/package/zavcat_"$version"_*.deb)
tarball=$(ls build/package/zavcat-"$version"-linux-*.tar.gz)
zip=build/package-windows/zav-plugins-$version-win32.zip
tested=build/mingw-i686/bin
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-packages: $*" >&2; exit 1; }

echo "== $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\|Installed-Size\):/  \1:/p'
dpkg-deb --contents "$deb"
dpkg-deb --field "$deb" Depends | grep -q 'libsqlite3-0' || fail "the .deb does not depend on libsqlite3-0"

# The same tree in both: the .tar.gz's files, less its top folder.
files_of_deb=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
files_of_tarball=$(tar -tvzf "$tarball" | awk '$1 !~ /^d/ {print $6}' | sed 's|^[^/]*/||' | sort)
echo "== $tarball ($(stat -c %s "$tarball") bytes)"
[ "$files_of_deb" = "$files_of_tarball" ] ||
  fail "the .tar.gz and the .deb hold different files:"$'\n'"$(diff <(echo "$files_of_deb") <(echo "$files_of_tarball"))"
for file in usr/bin/zavcat usr/lib/zav/zavaudio.so usr/lib/zav/zavrtfp.so \
            usr/share/man/man1/zavcat.1.gz usr/share/bash-completion/completions/zavcat \
            usr/share/doc/zavcat/README.md usr/share/doc/zavcat/LICENSE; do
  grep -qx "$file" <<<"$files_of_deb" || fail "the .deb lacks /$file"
done

# Unpacked where nothing else is: zavcat finds ../lib/zav from itself.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
zavcat=$root/usr/bin/zavcat
shown=$(env -u ZAV_PLUGIN_PATH "$zavcat" examples/disc)
grep -q ': RTF-P open=1' <<<"$shown" && grep -q ': Audio open=1' <<<"$shown" ||
  fail "the unpacked zavcat did not read the sample disc with its plug-ins:"$'\n'"$shown"
env -u ZAV_PLUGIN_PATH "$zavcat" scan --db "$scratch/catalog.db" --label sample --summary examples/disc
env -u ZAV_PLUGIN_PATH "$zavcat" search --db "$scratch/catalog.db" train | grep -q 'night-train.mp3' ||
  fail "the unpacked zavcat's catalog does not find 'train'"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/zavcat.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page formats with warnings:"$'\n'"$warnings"
bash -n "$root/usr/share/bash-completion/completions/zavcat" || fail "the bash completion does not parse"
echo "the unpacked .deb read the sample disc; its man page and completion are sound"

echo "== $zip ($(stat -c %s "$zip") bytes)"
unzip -l "$zip"
mkdir "$scratch/zip"
unzip -q "$zip" -d "$scratch/zip"
[ "$(cd "$scratch/zip" && ls | sort | paste -sd ' ' -)" = "README.txt SHA256SUMS zavaudio.dll zavrtfp.dll" ] ||
  fail "the ZIP holds other files: $(ls "$scratch/zip")"
for dll in zavaudio.dll zavrtfp.dll; do
  cmp "$scratch/zip/$dll" "$tested/$dll" || fail "$dll in the ZIP is not the one mingw-i686 tested"
done
(cd "$scratch/zip" && sha256sum -c SHA256SUMS)
[ "$(head -c 3 "$scratch/zip/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  fail "README.txt does not begin with a UTF-8 byte-order mark"
for module in audio rtf; do
  dll=zav${module}.dll
  [ "$module" = rtf ] && dll=zavrtfp.dll
  /usr/bin/python3 tools/check_pe.py "$scratch/zip/$dll" i386 "$version" common/exports.def \
    common/titles.txt "$module/titles.txt" || fail "$dll fails the PE checks"
done
echo "the ZIP's DLLs are those mingw-i686 tested, pass the PE checks, and match SHA256SUMS"
