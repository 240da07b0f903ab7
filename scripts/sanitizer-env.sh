# Sourced by sanitize.sh and fuzz.sh (and usable by hand before running a
# binary from build-asan/): sanitizer settings for the whole process tree.
#
# Every report is fatal (halt_on_error) and leaks are checked at exit. The
# suppressions file tests/sanitizers/lsan.supp is for allocations that system
# libraries keep for the life of the process; it is empty so far.
_tintwright_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$_tintwright_root/tests/sanitizers/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

# JUCE loads libX11 with dlopen and unloads it when the program ends. libX11
# keeps process-wide caches (resource-manager quarks, locale data) that are
# only reachable from its own data, so once it is unloaded LeakSanitizer
# reports them as leaks, from a module it can no longer name (so no
# suppression can match them). Keeping the library loaded keeps them
# reachable: run the program itself as  LD_PRELOAD=$TINTWRIGHT_X11_PRELOAD ...
# The test binary needs nothing: it keeps libX11 loaded itself.
export TINTWRIGHT_X11_PRELOAD=libX11.so.6
