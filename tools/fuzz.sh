#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz"), checks that the code under
# test is instrumented, replays every committed corpus, then fuzzes each run
# for SECONDS and prints executions, speed and coverage.
#
#   tools/fuzz.sh SECONDS [RUN...]   all runs, or the runs named (see below)
#   tools/fuzz.sh --list             the runs, one a line
#   tools/fuzz.sh --seeds            rewrites the committed seed corpora and
#                                    the RTF dictionary from the tests' builders
#
# ZAV_FUZZ_ARGS adds libFuzzer flags to every run, e.g.
#   ZAV_FUZZ_ARGS="-runs=10000000" tools/fuzz.sh 3600 id3v2
# New inputs collect in build/fuzz/corpus/RUN (kept between calls), crashes
# in build/fuzz/artifacts/RUN, logs in build/fuzz/logs/RUN.log. Exit status
# 1 when an input crashed, hung or broke a check.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

[ $# -ge 1 ] || usage
build=build/fuzz
runs_file=$build/fuzz/runs.tsv

cmake --workflow --preset fuzz >"$build.log" 2>&1 || { cat "$build.log" >&2; exit 1; }

case "$1" in
  --seeds)
    "$build/bin/zav_fuzz_seeds" .
    exit 0 ;;
  --list)
    cut -f1 "$runs_file"
    exit 0 ;;
  -*|'') usage ;;
esac
seconds=$1
shift
[[ "$seconds" =~ ^[0-9]+$ ]] || usage
wanted=("$@")

# The fuzzer must see the coverage of the code under test, not only of its
# harness: every object of the libraries the targets link is instrumented.
blind=$(for lib in "$build"/common/*.a "$build"/platform/*.a "$build"/audio/*.a "$build"/rtf/*.a; do
  nm -A "$lib" 2>/dev/null | awk -F: '
    { objects[$2] = 1 }
    / U __sanitizer_cov_8bit_counters_init$/ { seen[$2] = 1 }
    END { for (o in objects) if (!(o in seen)) print FILENAME_ o }' FILENAME_="$lib:"
done)
if [ -n "$blind" ]; then
  echo "fuzz.sh: not instrumented for coverage:" >&2
  echo "$blind" >&2
  exit 1
fi

mkdir -p "$build/logs"
failed=()
while IFS=$'\t' read -r name program corpus dictionary environment flags; do
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " =~ " $name " ]]; then continue; fi
  env_args=()
  [ "$environment" != - ] && env_args=("$environment")
  dict_args=()
  [ "$dictionary" != - ] && dict_args=("-dict=$dictionary")
  [ "$flags" = - ] && flags=""
  log=$build/logs/$name.log
  artifacts=$build/artifacts/$name
  mkdir -p "$build/corpus/$name" "$artifacts"

  # Replay: every committed input once, on its own.
  mapfile -t seeds < <(find "$corpus" -type f | sort)
  if ! env "${env_args[@]}" "$program" -rss_limit_mb=2048 "${seeds[@]}" >"$log" 2>&1; then
    echo "fuzz.sh: $name: a committed input fails (see $log)" >&2
    failed+=("$name")
    continue
  fi

  # New inputs go to the first folder; the committed corpus is only read.
  started=$SECONDS
  # shellcheck disable=SC2086
  if env "${env_args[@]}" "$program" "$build/corpus/$name" "$corpus" "${dict_args[@]}" \
      -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -malloc_limit_mb=256 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 $flags ${ZAV_FUZZ_ARGS:-} >>"$log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed+=("$name")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  printf '%-12s %-6s %11s execs in %5ss, %7s exec/s, coverage %s\n' "$name" "$status" \
    "${runs:-?}" "$((SECONDS - started))" "${rate:-?}" "${cov:-?}"
done <"$runs_file"

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]} (logs in $build/logs, inputs in $build/artifacts)" >&2
  exit 1
fi
