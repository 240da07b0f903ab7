# Sourced by sanitize.sh and fuzz.sh (and usable by hand before running a
# binary from build-asan/): sanitizer settings for the whole process tree.
#
# Every report is fatal (halt_on_error) and leaks are checked at exit. The only
# suppressions are in tests/sanitizers/lsan.supp, for allocations that system
# libraries keep for the life of the process (see the comments there).
_tintwright_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$_tintwright_root/tests/sanitizers/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
