#!/usr/bin/env bash
# The long fuzz run of the scheme open/save path (tests/fuzz/SchemeFuzz.cpp),
# under ASan + UBSan + LeakSanitizer. An input may take 1 s of processor time
# (the target checks that itself, so a busy machine does not fail inputs that
# merely wait for a core); libFuzzer's wall-clock -timeout only catches inputs
# that never finish (FUZZ_HANG_SECONDS, 30 s).
#
#   scripts/fuzz.sh                  10 million executions on one core
#   FUZZ_RUNS=1000000 scripts/fuzz.sh
#   FUZZ_JOBS=2 scripts/fuzz.sh      two processes, the runs split between them
#   FUZZ_SECONDS=600 scripts/fuzz.sh stop after ten minutes instead
#   FUZZ_WORK=/tmp/fz scripts/fuzz.sh   another folder for corpus, artefacts, logs
#
# New inputs are kept in build-asan/fuzz/corpus (the committed seeds in
# tests/fuzz/corpus stay untouched), crashes go to build-asan/fuzz/artifacts/.
# Prints the total of executions; non-zero when any input crashed, leaked,
# ran out of memory, took more than 1 s of processor time or hung.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
FUZZ_RUNS=${FUZZ_RUNS:-10000000}
FUZZ_JOBS=${FUZZ_JOBS:-1}
FUZZ_SECONDS=${FUZZ_SECONDS:-0}
FUZZ_MAX_LEN=${FUZZ_MAX_LEN:-16384}
FUZZ_HANG_SECONDS=${FUZZ_HANG_SECONDS:-30}

SANITIZE_BUILD_ONLY=1 SANITIZE_TARGETS=SchemeFuzz scripts/sanitize.sh
source scripts/sanitizer-env.sh

fuzzer=$root/$ASAN_BUILD_DIR/tests/fuzz/SchemeFuzz
work=${FUZZ_WORK:-$root/$ASAN_BUILD_DIR/fuzz}
mkdir -p "$work/corpus" "$work/artifacts" "$work/logs"
rm -f "$work"/logs/fuzz-*.log

args=(-timeout="$FUZZ_HANG_SECONDS" -rss_limit_mb=2048 -malloc_limit_mb=2048 -max_len="$FUZZ_MAX_LEN"
      -dict="$root/tests/fuzz/scheme.dict" -print_final_stats=1
      -artifact_prefix="$work/artifacts/")
if [ "$FUZZ_SECONDS" -gt 0 ]; then
    args+=(-max_total_time="$FUZZ_SECONDS")
else
    args+=(-runs=$(( (FUZZ_RUNS + FUZZ_JOBS - 1) / FUZZ_JOBS )))
fi

echo "SchemeFuzz: $FUZZ_JOBS job(s), ${args[*]}"
status=0
artefactsBefore=$(ls "$work/artifacts" | wc -l)
cd "$work/logs"
if [ "$FUZZ_JOBS" -gt 1 ]; then
    "$fuzzer" "${args[@]}" -jobs="$FUZZ_JOBS" -workers="$FUZZ_JOBS" "$work/corpus" "$root/tests/fuzz/corpus" || status=$?
else
    "$fuzzer" "${args[@]}" "$work/corpus" "$root/tests/fuzz/corpus" > fuzz-0.log 2>&1 || status=$?
fi

total=0
for log in fuzz-*.log; do
    tail -n 8 "$log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    total=$(( total + ${runs:-0} ))
done
# In job mode libFuzzer's own exit status does not always show a failed job.
if [ "$(ls "$work/artifacts" | wc -l)" -gt "$artefactsBefore" ]; then
    echo "SchemeFuzz: new failing inputs in $work/artifacts:"
    ls -t "$work/artifacts" | head
    [ "$status" -ne 0 ] || status=1
fi
echo "SchemeFuzz: $total executions in total, exit status $status"
exit "$status"
