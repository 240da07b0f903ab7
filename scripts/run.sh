#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tintwright. With no display it
# runs the program under a private Xvfb, saves a screenshot of its window to
# build/screenshot.png (or $BUILD_DIR/screenshot.png) and stops it again.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR

scripts/deps.sh
scripts/build.sh

app="$BUILD_DIR/Tintwright_artefacts/${BUILD_TYPE:-Release}/Tintwright"
if [ ! -x "$app" ]; then
    echo "The program was not built: $app is missing" >&2
    exit 1
fi

export JUCE_FONT_PATH=${JUCE_FONT_PATH:-/usr/share/fonts/truetype/dejavu}

if [ -n "${DISPLAY:-}" ]; then
    exec "$app"
fi

source scripts/xvfb.sh
start_xvfb_if_needed

"$app" &
app_pid=$!

stop_all() {
    kill "$app_pid" 2> /dev/null || true
    wait "$app_pid" 2> /dev/null || true
    kill "${XVFB_PID:-}" 2> /dev/null || true
}
trap stop_all EXIT

if ! timeout 30 xdotool search --sync --onlyvisible --name '^Tintwright$' > /dev/null; then
    echo "The Tintwright window did not appear within 30 seconds" >&2
    exit 1
fi

sleep 1 # let the first paint finish
screenshot="$(cd "$BUILD_DIR" && pwd)/screenshot.png"
import -window root "$screenshot"
echo "Screenshot of the running program: $screenshot"
