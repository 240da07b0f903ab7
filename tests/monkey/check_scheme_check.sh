#!/usr/bin/env bash
# The monkey test's checker as a process: it prints a file's scheme, accepts
# the listing of the same scheme, and tells another scheme, a broken listing
# and a file that is no scheme apart by its exit status.
#   check_scheme_check.sh CHECKER SCHEME_FILE
set -uo pipefail
checker=$1
file=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() # STATUS DESCRIPTION COMMAND...
{
    local want=$1 what=$2
    shift 2
    "$@" > "$work/out" 2> "$work/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"; cat "$work/out" "$work/err"
        failures=$((failures + 1))
    fi
}

expect 0 "listing the file" "$checker" "$file"
cp "$work/out" "$work/listing"
grep -q '^colour ffd3d3d3 Window Background$' "$work/listing" || { echo "FAIL: listing lacks the first colour"; failures=$((failures + 1)); }

expect 0 "the file against its own listing" "$checker" "$file" "$work/listing"
[ -s "$work/out" ] && { echo "FAIL: a match printed something"; failures=$((failures + 1)); }

sed '1s/^colour ffd3d3d3 /colour ffd3d3d4 /' "$work/listing" > "$work/other-value"
expect 3 "another colour value" "$checker" "$file" "$work/other-value"
grep -q '^saved scheme != file: colour 0 ' "$work/out" || { echo "FAIL: the difference is not named"; cat "$work/out"; failures=$((failures + 1)); }

grep -v '^  member ' "$work/listing" > "$work/no-members"
expect 3 "members missing" "$checker" "$file" "$work/no-members"

printf 'not a listing\n' > "$work/garbage"
expect 2 "a broken listing" "$checker" "$file" "$work/garbage"
expect 2 "a listing that does not exist" "$checker" "$file" "$work/none"

printf 'no xml' > "$work/not-a-scheme"
expect 1 "a file that is no scheme" "$checker" "$work/not-a-scheme" "$work/listing"
expect 2 "no arguments" "$checker"

[ "$failures" = 0 ] && echo "all checker cases passed"
exit "$failures"
