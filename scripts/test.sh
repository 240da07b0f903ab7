#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh

source scripts/xvfb.sh
start_xvfb_if_needed

export JUCE_FONT_PATH=/usr/share/fonts/truetype/dejavu
# One test at a time: tests that open windows share the display, and a window
# taking focus closes another test's pop-up menu.
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure

# The same suite again under ASan + UBSan (clang, build-asan/), with a 60 s
# fuzz run of the scheme reader; the long fuzz run is scripts/fuzz.sh.
scripts/sanitize.sh
