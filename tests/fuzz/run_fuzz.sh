#!/usr/bin/env bash
# Runs every fuzz target of a clang build (see fuzz_targets.txt there) for a bounded time,
# two at a time, over its seeds and what earlier runs found: each for its share (fuzz_targets.txt)
# of the base time, slow readers longer. Prints one summary line per
# target; a crash, leak or hang fails the run and keeps the input under BUILD/fuzz-work/NAME/.
#   run_fuzz.sh BUILD_DIR [BASE_SECONDS]
set -uo pipefail

build=$1
seconds=${2:-20}
work=$build/fuzz-work

if [ "${3:-}" = --one ]; then
  read -r name binary seeds dict share maxlen <<<"$4"
  mkdir -p "$work/$name/corpus" "$seeds"
  log=$work/$name.log
  time=$((seconds * ${share:-100} / 100))
  time=$((time > 0 ? time : 1))
  # Scratch files of the targets in memory: a synced write to a disk is slow and says nothing
  # about the reader.
  scratch=$(mktemp -d "${KX_FUZZ_SCRATCH:-/dev/shm}/kx-fuzz-$name-XXXXXX" 2>/dev/null || mktemp -d)
  rc=0
  # Leaks are the address checker's test pass's business: looking for them after every input
  # that leaves the trace a little longer would cost most of the fuzzing time. The entropic
  # schedule spends a fifth of the time of the big readers on bookkeeping; without it they run
  # more inputs and reach the same coverage.
  TMPDIR=$scratch ASAN_OPTIONS=allocator_may_return_null=1:quarantine_size_mb=16 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$binary" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -detect_leaks=0 -entropic=0 -max_len="${maxlen:-0}" \
    -artifact_prefix="$work/$name/" -dict="$dict" "$work/$name/corpus" "$seeds" >"$log" 2>&1 || rc=$?
  rm -rf "$scratch"
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo 0)
  cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 | grep -Eo '[0-9]+' || echo 0)
  if [ $rc -eq 0 ]; then
    printf '%-18s %10s executions in %4s s  coverage %6s  crashes 0\n' "$name" "$runs" "$time" "$cov"
  else
    printf '%-18s %10s executions in %4s s  coverage %6s  FAILED (exit %s); input kept in %s\n' \
      "$name" "$runs" "$time" "$cov" "$rc" "$work/$name/"
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 8 | sed 's/^/    /'
  fi
  exit $rc
fi

list=$build/fuzz_targets.txt
if [ ! -s "$list" ]; then
  echo "run_fuzz.sh: no fuzz targets listed in $list (a clang build is needed)" >&2
  exit 2
fi
mkdir -p "$work"
# xargs exits non-zero when any target failed.
tr '\n' '\0' <"$list" | xargs -0 -P 2 -I{} "$0" "$build" "$seconds" --one {}
