#!/usr/bin/env bash
# Makes the README's picture, docs/screenshot.png: builds the program when
# needed, opens docs/sample.calvastrascheme in it under a private Xvfb, moves
# the Hue slider of the first group and saves the window alone.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR

scripts/deps.sh
if [ -f "$BUILD_DIR/build.ninja" ]; then
    cmake --build "$BUILD_DIR" --target Tintwright
else
    scripts/build.sh
fi

python3 tests/e2e/readme_shot.py \
    --app "$BUILD_DIR/Tintwright_artefacts/${BUILD_TYPE:-Release}/Tintwright" \
    --scheme docs/sample.calvastrascheme \
    --out docs/screenshot.png
