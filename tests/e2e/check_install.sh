#!/usr/bin/env bash
# Installs a build into a fresh temporary prefix and checks what lands there:
# the program, its freedesktop launcher and the launcher's icon, its AppStream
# metadata and manual page, the command-line program with its manual page and
# bash completion, and nothing else.
#
#   check_install.sh CMAKE BUILD_DIR
set -euo pipefail

cmake_command=$1
build_dir=$2

prefix=$(mktemp -d "${TMPDIR:-/tmp}/tintwright-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "install check: $*" >&2
    exit 1
}

"$cmake_command" --install "$build_dir" --prefix "$prefix" > "$prefix.log" 2>&1 \
    || { cat "$prefix.log" >&2; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

program=$prefix/bin/Tintwright
desktop=$prefix/share/applications/tintwright.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/tintwright.svg
metainfo=$prefix/share/metainfo/tintwright.metainfo.xml
manual=$prefix/share/man/man1/Tintwright.1.gz
cli=$prefix/bin/tintwright-cli
cli_manual=$prefix/share/man/man1/tintwright-cli.1.gz
cli_completion=$prefix/share/bash-completion/completions/tintwright-cli

[ -f "$program" ] && [ -x "$program" ] || fail "no executable bin/Tintwright"
head -c 4 "$program" | grep -q $'^\x7fELF' || fail "bin/Tintwright is not an ELF program"
[ -f "$desktop" ] || fail "no share/applications/tintwright.desktop"
[ -s "$icon" ] || fail "no share/icons/hicolor/scalable/apps/tintwright.svg"
grep -q '<svg' "$icon" || fail "the icon is not an SVG image"
grep -q '<launchable type="desktop-id">tintwright.desktop</launchable>' "$metainfo" \
    || fail "no share/metainfo/tintwright.metainfo.xml naming the launcher"
gzip -dc "$manual" 2> /dev/null | grep -q '^\.TH TINTWRIGHT 1' || fail "no manual page share/man/man1/Tintwright.1.gz"

[ -x "$cli" ] || fail "no executable bin/tintwright-cli"
"$cli" --version | grep -q '^tintwright-cli [0-9]' || fail "the installed tintwright-cli --version does not run"
gzip -dc "$cli_manual" 2> /dev/null | grep -q '^\.TH TINTWRIGHT-CLI 1' || fail "no manual page share/man/man1/tintwright-cli.1.gz"
grep -q 'complete -F _tintwright_cli tintwright-cli' "$cli_completion" \
    || fail "no bash completion share/bash-completion/completions/tintwright-cli"
bash -n "$cli_completion" || fail "the bash completion is no valid bash"

# Nothing else: no tests, benchmarks or static libraries in the prefix.
installed=$(cd "$prefix" && find . -type f | sort | tr '\n' ' ')
expected="./bin/Tintwright ./bin/tintwright-cli ./share/applications/tintwright.desktop ./share/bash-completion/completions/tintwright-cli ./share/icons/hicolor/scalable/apps/tintwright.svg ./share/man/man1/Tintwright.1.gz ./share/man/man1/tintwright-cli.1.gz ./share/metainfo/tintwright.metainfo.xml "
[ "$installed" = "$expected" ] || fail "installed files are: $installed"

# The launcher starts the installed program by name and shows the installed icon.
entry() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(entry Type)" = Application ] || fail "the launcher's Type is '$(entry Type)', expected Application"
[ "$(entry Exec | cut -d' ' -f1)" = "$(basename "$program")" ] || fail "the launcher runs '$(entry Exec)', not Tintwright"
[ "$(entry Icon)" = "$(basename "$icon" .svg)" ] || fail "the launcher's icon '$(entry Icon)' is not the installed tintwright.svg"

if command -v desktop-file-validate > /dev/null; then
    # Hints are advice; errors and warnings fail.
    report=$(desktop-file-validate "$desktop" 2>&1 | grep -v ': hint: ' || true)
    [ -z "$report" ] || fail "desktop-file-validate: $report"
else
    echo "install check: desktop-file-validate not installed (package desktop-file-utils); launcher not validated"
fi

echo "install check: bin/Tintwright, the launcher, its icon, the AppStream metadata, the manual page and bin/tintwright-cli with its manual page and bash completion installed into a fresh prefix"
