#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each step's time, for the docs' account of how long a run takes.
started=$SECONDS
step_done() { echo "== test.sh: $1 done after $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"; }

scripts/deps.sh
step_done "dependencies"

# Every source as .clang-format lays it out.
find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror

scripts/build.sh

source scripts/xvfb.sh
start_xvfb_if_needed

export JUCE_FONT_PATH=/usr/share/fonts/truetype/dejavu
# Tests that share the display hold a lock (tests/CMakeLists.txt); the rest
# run in parallel.
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
step_done "Linux build and suite"

# The scheme model for web pages: built with emscripten, its tests in Node
# against this build's tintwright-cli; the web page built with its npm tools
# (pinned in web/package-lock.json), its tests in Node and in Debian's
# Chromium, Firefox ESR and WebKitGTK; its sources through prettier and ESLint;
# the packages (scripts/web.sh).
scripts/web.sh
step_done "web model and page"

# The same suite again under ASan + UBSan (clang, build-asan/), with a 60 s
# fuzz run of the scheme reader; the long fuzz run is scripts/fuzz.sh.
scripts/sanitize.sh
step_done "sanitizer build, suite and fuzzing"

# A minute of random input to the real program from the same sanitizer build:
# half with a fixed seed, half with a random one (printed, so that a failure
# can be run again with --seed). The long run is scripts/monkey.sh --seconds N.
scripts/monkey.sh --seed 17 --seconds 30
scripts/monkey.sh --seconds 30
step_done "random input"

# The Windows program: built with MinGW-w64, its tests and end-to-end runs
# under Wine, its installer and zip made and checked (scripts/windows.sh).
scripts/windows.sh
step_done "Windows program"
