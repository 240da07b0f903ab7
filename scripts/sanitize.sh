#!/usr/bin/env bash
# Builds everything with AddressSanitizer + UndefinedBehaviorSanitizer (clang,
# -O1) into build-asan/ (or $ASAN_BUILD_DIR) and runs the whole CTest suite
# there under Xvfb, the short fuzz run included. Non-zero on any failure,
# sanitizer report or leak.
#
# The program there is the probed build (TINTWRIGHT_TEST_PROBE) that the
# monkey test (scripts/monkey.sh) drives; it is never one to ship.
#
# The same build folder holds the libFuzzer target (scripts/fuzz.sh), so the
# JUCE modules are compiled with the sanitizers only once. It is also built
# with JUCE's debug logging, so JUCE's assertions and its leak detector
# ("*** Leaked objects detected") print to stderr; a Release build prints
# neither.
#
#   scripts/sanitize.sh              build + all tests
#   scripts/sanitize.sh -R Scheme    build + only tests matching the regex
#   SANITIZE_BUILD_ONLY=1 scripts/sanitize.sh   build only
#   SANITIZE_BUILD_ONLY=1 SANITIZE_TARGETS="Tintwright" scripts/sanitize.sh
#                                    build only these targets
set -euo pipefail
cd "$(dirname "$0")/.."

ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}

scripts/deps.sh

source scripts/sanitizer-env.sh

if [ ! -f "$ASAN_BUILD_DIR/build.ninja" ]; then
    mkdir -p "$ASAN_BUILD_DIR"
    cmake -S . -B "$ASAN_BUILD_DIR" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
        "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
        -DCMAKE_CXX_FLAGS=-DJUCE_FORCE_DEBUG=1 \
        -DTINTWRIGHT_SANITIZE=ON -DTINTWRIGHT_FUZZ=ON -DTINTWRIGHT_BENCH=OFF -DTINTWRIGHT_TEST_PROBE=ON \
        > "$ASAN_BUILD_DIR.configure.log" 2>&1 \
        || { cat "$ASAN_BUILD_DIR.configure.log"; exit 1; }
elif ! grep -q '^TINTWRIGHT_TEST_PROBE:BOOL=ON$' "$ASAN_BUILD_DIR/CMakeCache.txt"; then
    # A folder configured before the program had its probed build.
    cmake -DTINTWRIGHT_TEST_PROBE=ON "$ASAN_BUILD_DIR" > "$ASAN_BUILD_DIR.configure.log" 2>&1 \
        || { cat "$ASAN_BUILD_DIR.configure.log"; exit 1; }
fi

targets=()
for t in ${SANITIZE_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$ASAN_BUILD_DIR" -j "$(nproc)" "${targets[@]}"
[ "${SANITIZE_BUILD_ONLY:-0}" = 1 ] && exit 0

source scripts/xvfb.sh
start_xvfb_if_needed

export JUCE_FONT_PATH=/usr/share/fonts/truetype/dejavu
# The preload keeps libX11 loaded in the program the end-to-end test starts
# (see sanitizer-env.sh); it changes nothing for the other processes.
LD_PRELOAD=$TINTWRIGHT_X11_PRELOAD ctest --test-dir "$ASAN_BUILD_DIR" --output-on-failure -j "$(nproc)" "$@"

# LeakSanitizer fails a test by its exit status; JUCE's leak detector only
# prints (after main returns), so its reports are looked for in the output of
# every test, which CTest keeps in LastTest.log.
source scripts/leakcheck.sh
check_no_leaks "$ASAN_BUILD_DIR/Testing/Temporary/LastTest.log"
