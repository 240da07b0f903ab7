#!/usr/bin/env bash
# Sourced by the other scripts: starts an Xvfb on a free display when none is
# set, exports DISPLAY, and stops it when the calling script exits.
start_xvfb_if_needed() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local n
    for n in $(seq 91 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
            local i
            for i in $(seq 1 100); do
                xdpyinfo > /dev/null 2>&1 && return 0
                sleep 0.1
            done
            echo "Xvfb did not start on :$n" >&2
            return 1
        fi
    done
    echo "no free X display number" >&2
    return 1
}
