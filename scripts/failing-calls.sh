#!/usr/bin/env bash
# A longer run of tintwright-cli's saves with system calls failing at random
# (libfiu; tests/cli/CliFailingCallsLinuxTests.cpp), from the Release build in
# build/ (or $BUILD_DIR): every file must hold exactly its old or its new
# bytes, as the exit code says, with no temporary file left. scripts/test.sh
# runs a short one with every test.
#
#   scripts/failing-calls.sh                      20000 saves, a random seed (printed)
#   scripts/failing-calls.sh --saves N --seed S   N saves, the run of seed S again
set -euo pipefail
cd "$(dirname "$0")/.."

saves=20000
seed=""
while [ $# -gt 0 ]; do
    case "$1" in
        --saves) saves=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        *) echo "usage: $0 [--saves N] [--seed S]" >&2; exit 2 ;;
    esac
done

scripts/deps.sh
BUILD_TARGETS="tintwright_cli_tests" scripts/build.sh

TINTWRIGHT_RANDOM_SAVES=$saves TINTWRIGHT_RANDOM_SEED=$seed \
    "${BUILD_DIR:-build}/tests/cli/tintwright_cli_tests" --gtest_filter='CliFailingCalls.SavesWithCallsFailingAtRandom*'
