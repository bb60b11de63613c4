#!/usr/bin/env bash
# tools/setup.sh on a machine whose archive is out of step, through stand-ins
# on PATH for apt-get, dpkg and dpkg-query: `apt-get update` fails for one
# index as while a mirror syncs, and the packages a case names are missing
# and refused. setup.sh runs from a copy of tools/ whose runs-32bit.sh says
# yes, so the 32-bit Wine is really asked for on any machine.
# Usage: SetupTest.sh TOOLS_FOLDER
set -euo pipefail
tools=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() { echo "FAIL ($case_name): $*" >&2; failures=$((failures + 1)); }

mkdir -p "$scratch/bin"
cat >"$scratch/bin/apt-get" <<'STANDIN'
#!/bin/sh
echo "apt-get $*" >>"$STANDIN_STATE/calls"
case " $* " in
  *" update "*)
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (51220 != 51848). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
esac
simulate=0
for argument; do [ "$argument" = -s ] && simulate=1; done
for argument; do
  if grep -qxF -- "$argument" "$STANDIN_STATE/refused"; then
    echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
    exit 100
  fi
done
[ "$simulate" = 1 ] && exit 0
for argument; do
  case "$argument" in -*|install) ;; *) echo "$argument" >>"$STANDIN_STATE/installed" ;; esac
done
STANDIN
cat >"$scratch/bin/dpkg-query" <<'STANDIN'
#!/bin/sh
for package; do :; done
if grep -qxF -e "$package" -e '*' "$STANDIN_STATE/missing" && ! grep -qxF -- "$package" "$STANDIN_STATE/installed"; then
  echo "dpkg-query: no packages found matching $package" >&2
  exit 1
fi
printf 'install ok installed'
STANDIN
cat >"$scratch/bin/dpkg" <<'STANDIN'
#!/bin/sh
echo "dpkg $*" >>"$STANDIN_STATE/calls"
case "$1" in
  --print-foreign-architectures) cat "$STANDIN_STATE/architectures" ;;
  --add-architecture) echo "$2" >>"$STANDIN_STATE/architectures" ;;
  *) exit 2 ;;
esac
STANDIN
for tool in sleep localedef sudo; do
  printf '#!/bin/sh\necho "%s $*" >>"$STANDIN_STATE/calls"\n' "$tool" >"$scratch/bin/$tool"
done
printf 'exec "$@"\n' >>"$scratch/bin/sudo"
chmod +x "$scratch/bin/"*

# The tools/ copy: setup.sh itself and a probe that finds 32-bit support.
mkdir -p "$scratch/tree/tools"
cp "$tools/setup.sh" "$scratch/tree/tools/"
printf '#!/bin/sh\nexit 0\n' >"$scratch/tree/tools/runs-32bit.sh"
note="$scratch/tree/build/setup/wine32-not-run"

# run_case NAME "MISSING..." "REFUSED..." setup-options...: runs setup.sh
# (MISSING "*" is every package, as on a fresh machine),
# leaving its status in $status, its output in $out and the calls in $calls.
run_case() {
  case_name=$1
  export STANDIN_STATE="$scratch/state-$1"
  mkdir -p "$STANDIN_STATE"
  local missing=$2
  set -f  # "*" as it stands
  printf '%s\n' $missing >"$STANDIN_STATE/missing"
  set +f
  printf '%s\n' $3 >"$STANDIN_STATE/refused"
  : >"$STANDIN_STATE/installed"
  : >"$STANDIN_STATE/calls"
  : >"$STANDIN_STATE/architectures"
  shift 3
  rm -f "$note"
  status=0
  out=$(PATH="$scratch/bin:$PATH" bash "$scratch/tree/tools/setup.sh" "$@" 2>&1) || status=$?
  calls=$(cat "$STANDIN_STATE/calls")
}
expect_output() { grep -qF -- "$1" <<<"$out" || fail "no '$1' in:"$'\n'"$out"; }
count_calls() { grep -c -- "$1" <<<"$calls" || true; }

index=bookworm-security/main/binary-i386/Packages.xz

# A fresh machine, set up as CI sets it up: an index fails, but what is
# missing installs and the set-up goes on; the 32-bit Wine cannot be
# resolved, so its reason is left for CI.
run_case fresh-machine "*" "wine32:i386" --windows --32bit --package
[ "$status" = 0 ] || fail "exit $status:"$'\n'"$out"
for package in cmake libcli11-dev g++-mingw-w64-i686 wine64 dpkg-dev g++-multilib; do
  grep -qx "$package" "$STANDIN_STATE/installed" || fail "$package not installed"
done
expect_output "warning: apt-get update failed 3 times; going on without the index http://deb.debian.org/debian-security/dists/$index"
[ "$(count_calls '^apt-get update')" = 6 ] || fail "not three updates before each install:"$'\n'"$calls"
grep -qx 'dpkg --add-architecture i386' <<<"$calls" || fail "i386 not added:"$'\n'"$calls"
if [ -f "$note" ]; then
  grep -qF "apt-get could not install wine32:i386 (apt-get update failed for" "$note" || fail "reason: $(cat "$note")"
  grep -qF "$index" "$note" || fail "the reason names no index: $(cat "$note")"
else
  fail "no reason left in build/setup/wine32-not-run:"$'\n'"$out"
fi

# A package the build needs that cannot be installed fails, by name.
run_case needed-refused "libcli11-dev nlohmann-json3-dev" "libcli11-dev"
[ "$status" != 0 ] || fail "exit 0 without libcli11-dev:"$'\n'"$out"
expect_output "setup.sh: cannot install libcli11-dev (apt-get update failed for"
if grep -qF "cannot install libcli11-dev nlohmann" <<<"$out"; then fail "an installable package named"; fi

# All there: nothing is asked of apt-get, and no reason is left.
run_case all-there "" "" --windows --32bit
[ "$status" = 0 ] || fail "exit $status:"$'\n'"$out"
[ "$(count_calls '^apt-get')" = 0 ] || fail "apt-get called:"$'\n'"$calls"
[ ! -e "$note" ] || fail "a reason left: $(cat "$note")"

[ "$failures" = 0 ] && echo "setup.sh stand-in cases passed"
exit "$failures"
