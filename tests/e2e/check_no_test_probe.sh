#!/usr/bin/env bash
# The program that is shipped holds nothing of the monkey test's probe
# (tests/monkey/probe, built only with TINTWRIGHT_TEST_PROBE) and names no
# environment variable of ours: no probe symbol (when the program still has
# its symbols), no probe class name (RTTI keeps it even in a stripped
# program), no "TINTWRIGHT_" text and none of the probe's file names.
#
#   check_no_test_probe.sh PROGRAM
set -euo pipefail

program=$1

fail() {
    echo "probe check: $program: $*" >&2
    exit 1
}

command -v nm > /dev/null && command -v strings > /dev/null || fail "needs nm and strings (binutils)"
[ -f "$program" ] || fail "no such program"

text=$(strings -a "$program")
# A reading of the program that found nothing would pass anything.
grep -q 'CalvastraTintwright' <<< "$text" || fail "strings finds none of the program's own text"

found=$(grep -E 'TestProbe|ProbedApp|TINTWRIGHT_|^(heartbeat|repaint-request|repaint-done|saves\.log)$' <<< "$text" || true)
[ -z "$found" ] || fail "holds the probe's text: $(tr '\n' ' ' <<< "$found")"

symbols=$(nm -C "$program" 2> /dev/null || true)
if [ -n "$symbols" ]; then
    grep -q 'AppClass::' <<< "$symbols" || fail "nm lists none of the program's own symbols"
    found=$(grep -E 'TestProbe|ProbedApp' <<< "$symbols" || true)
    [ -z "$found" ] || fail "holds the probe's symbols: $(head -3 <<< "$found" | tr '\n' ' ')"
    echo "probe check: $program: no probe symbol among $(wc -l <<< "$symbols") and no probe text"
else
    echo "probe check: $program: stripped; no probe text"
fi
