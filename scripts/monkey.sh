#!/usr/bin/env bash
# The monkey test: random but plausible input to the real program, built with
# ASan + UBSan (scripts/sanitize.sh's build in build-asan/), on a private Xvfb
# with a scratch folder of scheme files. See tests/monkey/monkey.py.
#
#   scripts/monkey.sh                       60 s, random seed (printed)
#   scripts/monkey.sh --seed 42 --seconds 300
#   scripts/monkey.sh --events 500
#   scripts/monkey.sh --seconds 3600 --events 100000   until both are reached
#       (--max-seconds S ends it anyway)
#   scripts/monkey.sh --replay OUT/failure-1/events.jsonl
#   MONKEY_OUT=/tmp/m scripts/monkey.sh     where logs, screenshots and the
#                                           scratch folder go
#   MONKEY_NO_BUILD=1 scripts/monkey.sh     use the programs already built
#
# Non-zero when the program crashed, hung, reported a sanitizer error or a
# leak, or left a bad file. Everything about a failure (the event log, the
# program's stderr, a screenshot, the file) is kept in $MONKEY_OUT/failure-N.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}

if [ "${MONKEY_NO_BUILD:-0}" != 1 ]; then
    SANITIZE_BUILD_ONLY=1 SANITIZE_TARGETS="Tintwright tintwright_scheme_check" scripts/sanitize.sh
fi
source scripts/sanitizer-env.sh
source scripts/leakcheck.sh

app=$(tintwright_binary "$ASAN_BUILD_DIR") || { echo "monkey: no program in $ASAN_BUILD_DIR" >&2; exit 1; }
checker=$root/$ASAN_BUILD_DIR/tests/monkey/tintwright_scheme_check

out=${MONKEY_OUT:-$root/$ASAN_BUILD_DIR/monkey/$(date -u +%Y%m%d-%H%M%S)-$$}
mkdir -p "$out"

# A hang is ended with SIGABRT: ASan then prints where the program was.
export ASAN_OPTIONS="$ASAN_OPTIONS:handle_abort=1"
# The checker runs under the sanitizers too; the program gets the preload that
# keeps libX11 loaded to its exit (see sanitizer-env.sh).
export LD_PRELOAD=$TINTWRIGHT_X11_PRELOAD
unset DISPLAY

# Not niced by default: on a busy machine a niced program falls behind the
# input and its heartbeat looks like a hang (MONKEY_NICE=5 to be polite).
nice -n "${MONKEY_NICE:-0}" python3 tests/monkey/monkey.py --app "$app" --checker "$checker" --out "$out" "$@"
