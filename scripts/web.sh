#!/usr/bin/env bash
# Builds the scheme model for web pages with Debian's emscripten: the model's
# own C++ sources compiled to WebAssembly, in one JavaScript file that a page
# loads with a classic <script> (from file:// too) and Node with require().
#
#   scripts/web.sh            everything: deps, build, test, site, site-test, lint, package
#   scripts/web.sh STEP...    only those steps (deps build test site site-test
#                             package bench screenshot lint)
#
# The page (web/) is built by its npm tools (versions pinned in
# web/package-lock.json) into build-web/site: index.html, tintwright.css and
# tintwright.js, one classic script with the module and the page's code. Its
# tests run in Node and in Debian's Chromium, Firefox ESR (both headless) and
# WebKitGTK (under Xvfb).
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

source "$ROOT/scripts/debian-archive.sh"
log() { printf '== web: %s (%ss)\n' "$*" "$SECONDS"; }

# Step: deps -------------------------------------------------------------------

# The page's tests run in three engines: Chromium and Firefox ESR headless, and
# WebKit (WebKitGTK's MiniBrowser, in libwebkit2gtk-4.1-0, driven through
# WebKitWebDriver) under Xvfb, its window given the focus with xdotool; Mesa's
# software renderer draws for both (a recommendation, which apt-get skips here).
packages=(emscripten nodejs zlib1g-dev juce-modules-source googletest dpkg-dev cmake ninja-build ccache chromium firefox-esr
    webkit2gtk-driver libwebkit2gtk-4.1-0 libgl1-mesa-dri xvfb xauth xdotool fonts-dejavu-core python3)

step_deps() {
    install_missing_packages "${packages[@]}"
    fetch_source_packages "$WEB_DEPS/src" pugixml
    unpack_source_package "$WEB_DEPS/src" pugixml > /dev/null
    # The page's npm tools, exactly as the lock file has them; again only when it changed.
    if ! cmp -s "$ROOT/web/package-lock.json" "$ROOT/web/node_modules/.tintwright-lock"; then
        log "npm ci (web/)"
        (cd "$ROOT/web" && npm ci --no-audit --no-fund --loglevel=error)
        cp "$ROOT/web/package-lock.json" "$ROOT/web/node_modules/.tintwright-lock"
    fi
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
    log "building the module and the tweak maths' tests"
    cmake --build "$WEB_BUILD" -j "$(nproc)" --target tintwright-model tintwright_web_tweak_tests
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
    log "the tweak maths' tests in WebAssembly"
    node "$WEB_BUILD/tests/tintwright_web_tweak_tests.js" --gtest_brief=1
    local cli
    cli=$(native_cli)
    log "module tests (node:test), against $cli"
    TINTWRIGHT_MODEL=$MODULE TINTWRIGHT_CLI=$cli node --test "$ROOT"/web/model/test/*.test.mjs
}

# Step: package ----------------------------------------------------------------

# The module as a package for Node and bundlers: build-web/packages/
# tintwright-model-<version>.tgz in npm's layout (package/ with package.json,
# the module and its TypeScript declaration), checked by loading it unpacked.
step_package_module() {
    local version out=$WEB_BUILD/packages
    version=$(sed -n 's/^project (Tintwright VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
    rm -rf "$out"
    mkdir -p "$out/package"
    cp "$MODULE" "$ROOT/web/model/tintwright-model.d.ts" "$out/package/"
    cat > "$out/package/package.json" << END_OF_JSON
{
  "name": "tintwright-model",
  "version": "$version",
  "description": "Tintwright's scheme model in WebAssembly: opens, edits, tweaks and saves Calvastra colour schemes as the window program does",
  "main": "tintwright-model.js",
  "types": "tintwright-model.d.ts",
  "files": ["tintwright-model.js", "tintwright-model.d.ts"]
}
END_OF_JSON
    local archive=$out/tintwright-model-$version.tgz
    tar -czf "$archive" -C "$out" package
    rm -rf "$out/package"
    local unpacked=$out/check
    mkdir -p "$unpacked"
    tar -xzf "$archive" -C "$unpacked"
    (cd "$unpacked" && node -e "
        require('./package')().then((model) => {
            const bytes = require('fs').readFileSync(process.argv[1]);
            process.exit(Buffer.from(model.formatScheme(bytes)).equals(bytes) ? 0 : 1);
        });" "$ROOT/docs/sample.calvastrascheme") || { echo "the package does not load and save as the module does" >&2; return 1; }
    rm -rf "$unpacked"
    log "package: $archive ($(stat -c %s "$archive") bytes)"
}

# Step: site -------------------------------------------------------------------

step_site() {
    [ -f "$MODULE" ] || { echo "no $MODULE: run scripts/web.sh build" >&2; return 1; }
    log "type-checking and building the page"
    (cd "$ROOT/web" && npx tsc --noEmit -p . && TINTWRIGHT_WEB_OUT=$WEB_BUILD node build.mjs && TINTWRIGHT_WEB_OUT=$WEB_BUILD node build.mjs tests)
}

# Step: site-test --------------------------------------------------------------

# WebKitGTK's MiniBrowser needs an X display, even under WebDriver: a fresh
# one of the page tests' own, whatever display the caller has (the window's
# suite leaves its display's pointer and focus where its last test put them).
# A subshell, so that the server ends with the tests.
page_tests() (
    source "$ROOT/scripts/xvfb.sh"
    unset DISPLAY
    start_xvfb_if_needed
    TINTWRIGHT_SITE=$WEB_BUILD/site node --test "$@"
)

step_site_test() {
    log "page logic tests (node:test)"
    TINTWRIGHT_MODEL=$MODULE node --test "$WEB_BUILD"/web-tests/*.test.mjs
    log "page tests in Chromium, Firefox ESR and WebKit (and a minute of random input in each)"
    TINTWRIGHT_CLI=$(native_cli) page_tests "$ROOT"/web/tests/browser/*.test.mjs
}

# Step: package (the page) ------------------------------------------------------

# build-web/packages/tintwright-web-<version>.zip: the site and a short read-me.
step_package_site() {
    local version name
    version=$(sed -n 's/^project *(Tintwright VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
    name=tintwright-web-$version
    mkdir -p "$WEB_BUILD/packages"
    rm -rf "${WEB_BUILD:?}/packages/$name" "$WEB_BUILD/packages/$name.zip"
    cp -r "$WEB_BUILD/site" "$WEB_BUILD/packages/$name"
    sed "s/@VERSION@/$version/" "$ROOT/web/README.txt" > "$WEB_BUILD/packages/$name/README.txt"
    (cd "$WEB_BUILD/packages" && python3 -m zipfile -c "$name.zip" "$name")
    # What the zip holds, and nothing else.
    local listed
    listed=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$WEB_BUILD/packages/$name.zip")
    [ "$listed" = "$name/ $name/README.txt $name/index.html $name/tintwright.css $name/tintwright.js" ] \
        || { echo "the zip holds: $listed" >&2; return 1; }
    log "made $WEB_BUILD/packages/$name.zip ($(stat -c %s "$WEB_BUILD/packages/$name.zip") bytes)"
}

# Step: bench ------------------------------------------------------------------

# The page's speed in headless Chromium, as JSON for scripts/bench.sh's table.
step_bench() {
    log "page benchmarks in headless Chromium"
    TINTWRIGHT_SITE=$WEB_BUILD/site node "$ROOT/web/bench/page-bench.mjs" "${WEB_BENCH_OUT:-$WEB_BUILD/page-bench.json}"
}

# Step: screenshot -------------------------------------------------------------

# docs/web.png and docs/web-webkit.png: the page in Chromium and in WebKit as
# the save cycle's test leaves it after the Red slider's step (Firefox's beside
# them in build-web/screenshots).
step_screenshot() {
    TINTWRIGHT_WEB_SHOTS=$ROOT/docs page_tests --test-name-pattern='^open the sample' "$ROOT"/web/tests/browser/pages.test.mjs
    log "wrote $ROOT/docs/web.png and $ROOT/docs/web-webkit.png"
}

# Step: lint -------------------------------------------------------------------

# The page's TypeScript and the tests' JavaScript: laid out as prettier lays
# them out (web/.prettierrc.json), and ESLint's and typescript-eslint's
# recommended rules (web/eslint.config.mjs). To lay the files out:
# cd web && npx prettier --write "$LINTED".
LINTED='**/*.{ts,mts,mjs,js}'

step_lint() {
    log "lint: prettier --check and eslint (web/)"
    (cd "$ROOT/web" && npx prettier --check "$LINTED" && npx eslint .)
}

run_step() {
    case $1 in
        deps) step_deps ;;
        build) step_build ;;
        test) step_test ;;
        site) step_site ;;
        site-test) step_site_test ;;
        # The module's package first: it makes build-web/packages afresh.
        package) step_package_module && step_package_site ;;
        bench) step_bench ;;
        screenshot) step_screenshot ;;
        lint) step_lint ;;
        *)
            echo "unknown step: $1" >&2
            return 2
            ;;
    esac
}

steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(deps build test site site-test lint package)
for step in "${steps[@]}"; do
    run_step "$step"
done
log "done"
