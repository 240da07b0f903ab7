#!/usr/bin/env bash
# Sourced by the other scripts: starts an Xvfb on a free display when none is
# set, exports DISPLAY, and stops it when the calling script exits.
start_xvfb_if_needed() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    # The server picks a free display number itself and writes it to fd 3 once
    # it accepts connections, so scripts starting at the same moment never end
    # up on one server (which the first to finish would then stop). -noreset:
    # by default the server resets whenever its last client disconnects, and a
    # program connecting during that moment finds no display.
    local numberFile
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3> "$numberFile" > /dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
    local i
    for i in $(seq 1 100); do
        if [ -s "$numberFile" ]; then
            export DISPLAY=":$(tr -d '[:space:]' < "$numberFile")"
            rm -f "$numberFile"
            return 0
        fi
        kill -0 "$XVFB_PID" 2> /dev/null || break
        sleep 0.1
    done
    rm -f "$numberFile"
    echo "Xvfb did not start" >&2
    return 1
}
