# Sourced by end-to-end scripts: checks what a run of the program left on stderr.
#
#   source scripts/leakcheck.sh
#   Tintwright 2> run.stderr ... ; check_no_leaks run.stderr || exit 1
#
# check_no_leaks FILE fails (status 1, the offending lines on stderr) when FILE
# holds a report of JUCE's leak detector ("*** Leaked objects detected") or of
# LeakSanitizer, and fails with status 2 when FILE does not exist.
#
# JUCE prints its leak report through DBG, which only a build with JUCE's debug
# logging compiles in: the Release build in build/ never prints it, so there
# the check cannot fail. Run the end-to-end program from build-asan/
# (scripts/sanitize.sh builds it with JUCE_FORCE_DEBUG=1 and the sanitizers),
# where both JUCE's detector and LeakSanitizer report:
#
#   source scripts/sanitizer-env.sh
#   source scripts/leakcheck.sh
#   LD_PRELOAD=$TINTWRIGHT_X11_PRELOAD "$(tintwright_binary build-asan)" 2> run.stderr &
#   ... drive it, then File > Quit (or the close button) ...
#   wait $!; check_no_leaks run.stderr
#
# (The preload keeps libX11 loaded after JUCE unloads it; see sanitizer-env.sh.)
# The program must end normally, not by kill -9, since both reports are made
# at exit. A normal quit of the program under Xvfb was checked this way: no
# report from either.
check_no_leaks() {
    local log=$1

    if [ ! -f "$log" ]; then
        echo "check_no_leaks: no such file: $log" >&2
        return 2
    fi

    if grep -q -e '\*\*\* Leaked objects detected' -e 'ERROR: LeakSanitizer' "$log"; then
        echo "check_no_leaks: leaks reported in $log:" >&2
        grep -e '\*\*\* Leaked objects detected' -e 'ERROR: LeakSanitizer' -e '^Direct leak' -e '^Indirect leak' "$log" >&2
        return 1
    fi

    return 0
}

# The program binary of a build folder, for scripts that run it by hand.
tintwright_binary() {
    local buildDir=${1:-build}
    local bin
    bin=$(find "$buildDir" -path '*Tintwright_artefacts*' -type f -name Tintwright -perm -u+x 2> /dev/null | head -n 1)
    [ -n "$bin" ] || return 1
    echo "$bin"
}
