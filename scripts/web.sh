#!/usr/bin/env bash
# Builds the scheme model for web pages with Debian's emscripten: the model's
# own C++ sources compiled to WebAssembly, in one JavaScript file that a page
# loads with a classic <script> (from file:// too) and Node with require().
#
#   scripts/web.sh            everything: deps, build, test, package
#   scripts/web.sh STEP...    only those steps (deps build test package)
#
# Everything comes from Debian's archive: emscripten, Node, JUCE's module
# sources, and pugixml's source package (fetched once into build-web-deps/).
# The module builds into build-web/ (build-web/model/tintwright-model.js); its
# tests compare it with tintwright-cli of the Linux build ($BUILD_DIR, build/).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

WEB_BUILD=${WEB_BUILD:-$ROOT/build-web}
WEB_DEPS=${WEB_DEPS:-$ROOT/build-web-deps}
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
MODULE=$WEB_BUILD/model/tintwright-model.js
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# emscripten's optimizer is a Node script that needs Debian's acorn.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
log() { printf '== web: %s (%ss)\n' "$*" "$SECONDS"; }

# Step: deps -------------------------------------------------------------------

packages=(emscripten nodejs zlib1g-dev juce-modules-source dpkg-dev cmake ninja-build ccache)

step_deps() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        log "installing ${missing[*]}"
        $SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
    fi
    source "$ROOT/scripts/debian-sources.sh"
    fetch_source_packages "$WEB_DEPS/src" pugixml
    unpack_source_package "$WEB_DEPS/src" pugixml > /dev/null
}

# Step: build ------------------------------------------------------------------

step_build() {
    local pugixml
    pugixml=$(ls -d "$WEB_DEPS"/src/pugixml 2> /dev/null) || { echo "no pugixml sources: run scripts/web.sh deps" >&2; return 1; }
    mkdir -p "$WEB_BUILD"
    log "configuring $WEB_BUILD (pugixml $(ls "$WEB_DEPS"/src/pugixml_*.dsc | sed 's/.*pugixml_\(.*\)\.dsc/\1/'), emscripten $(dpkg-query -W -f='${Version}' emscripten))"
    emcmake cmake -S "$ROOT" -B "$WEB_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DTINTWRIGHT_PUGIXML_SOURCE="$pugixml" > "$WEB_BUILD.configure.log" 2>&1 \
        || { cat "$WEB_BUILD.configure.log"; return 1; }
    log "building the module"
    cmake --build "$WEB_BUILD" -j "$(nproc)" --target tintwright-model
    log "built $MODULE ($(stat -c %s "$MODULE") bytes)"
}

# Step: test -------------------------------------------------------------------

# The tests compare the module with the Linux build's tintwright-cli.
native_cli() {
    if [ -f "$BUILD_DIR/build.ninja" ]; then
        cmake --build "$BUILD_DIR" -j "$(nproc)" --target tintwright-cli > /dev/null
    else
        "$ROOT/scripts/deps.sh"
        BUILD_DIR=$BUILD_DIR BUILD_TARGETS=tintwright-cli "$ROOT/scripts/build.sh" > /dev/null
    fi
    echo "$BUILD_DIR/tintwright-cli"
}

step_test() {
    local cli
    cli=$(native_cli)
    log "module tests (node:test), against $cli"
    TINTWRIGHT_MODEL=$MODULE TINTWRIGHT_CLI=$cli node --test "$ROOT"/web/model/test/*.test.mjs
}

run_step() {
    case $1 in
        deps) step_deps ;;
        build) step_build ;;
        test) step_test ;;
        *)
            echo "unknown step: $1" >&2
            return 2
            ;;
    esac
}

steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(deps build test)
for step in "${steps[@]}"; do
    run_step "$step"
done
log "done"
