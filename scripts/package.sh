#!/usr/bin/env bash
# Builds the program (Release) and makes its Debian package with CPack:
# tintwright_<version>_amd64.deb in the top folder, ready for
#   apt-get install ./tintwright_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR

scripts/deps.sh
BUILD_TYPE=Release BUILD_TARGETS=Tintwright scripts/build.sh

# CPack stages the package under $BUILD_DIR/package; only the .deb comes out.
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$BUILD_DIR/package" > "$BUILD_DIR/package.log" 2>&1 \
    || { cat "$BUILD_DIR/package.log"; exit 1; }
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$BUILD_DIR/package.log")
[ -f "$deb" ] || { cat "$BUILD_DIR/package.log"; echo "CPack made no .deb" >&2; exit 1; }
mv "$deb" .
echo "Package: $PWD/$(basename "$deb")"
