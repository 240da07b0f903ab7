#!/usr/bin/env bash
# Builds the 64-bit Windows program on Debian with MinGW-w64, runs its tests
# under Wine on a private Xvfb, and makes the installer and the zip.
#
#   scripts/windows.sh            everything: deps, build, tests, end to end, packages
#   scripts/windows.sh STEP...    only those steps (deps build test e2e package)
#   scripts/windows.sh test --repeat N   the tests N times, each on a new Wine prefix
#
# Everything comes from Debian's archive: the toolchain, Wine, NSIS and the
# source packages of the libraries JUCE and the program link (built once into
# build-win-deps/, reused on later runs). The program builds into build-win/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

WIN_BUILD=${WIN_BUILD:-$ROOT/build-win}
WIN_DEPS=${WIN_DEPS:-$ROOT/build-win-deps}
WIN_PREFIX=$WIN_DEPS/prefix
TOOLCHAIN=$ROOT/cmake/MinGW64Toolchain.cmake
HOST=x86_64-w64-mingw32
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$WIN_BUILD/wine}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="} # no Mono or Gecko prompt
# JUCE asks DXGI for the displays' outputs only to wait for their vertical
# blanks (a stub in Wine). Wine's Direct3D without a renderer answers as well;
# with its OpenGL one, every window's process loads Mesa's software renderer
# and LLVM: 0.3 s more per test on an idle machine, a second under load.
export WINE_D3D_CONFIG=${WINE_D3D_CONFIG:-renderer=no3d}
# What is built: every program the packages carry (the target
# tintwright_programs: TINTWRIGHT_PROGRAMS in CMakeLists.txt) and the test
# programs that CTest runs, and the program that holds Wine's desktop for them.
WIN_TARGETS=(tintwright_programs tintwright_model_tests tintwright_tweak_portable_tests tintwright_tests tintwright_cli_tests tintwright_wine_desktop)

log() { printf '== windows: %s (%ss)\n' "$*" "$SECONDS"; }

# Step: deps -------------------------------------------------------------------

packages=(
    g++-mingw-w64-x86-64-posix mingw-w64 libz-mingw-w64-dev binutils-mingw-w64-x86-64
    wine wine64 nsis fonts-wine fonts-liberation
    librsvg2-bin icoutils zip unzip dpkg-dev
    googletest libcli11-dev xvfb xauth xdotool imagemagick python3 ccache cmake ninja-build
)
source_packages=(pugixml libjpeg-turbo libpng1.6)

# The packages and the libraries' sources come from Debian's archive.
source "$ROOT/scripts/debian-archive.sh"
fetch_sources() { fetch_source_packages "$WIN_DEPS/src" "${source_packages[@]}"; }
unpack() { unpack_source_package "$WIN_DEPS/src" "$1"; }

# Configures, builds and installs one CMake project into the prefix, once.
build_dep() {
    local name=$1 source=$2
    shift 2
    local stamp=$WIN_PREFIX/.built-$name
    [ -f "$stamp" ] && return 0
    log "building $name for Windows"
    cmake -S "$source" -B "$WIN_DEPS/build-$name" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$WIN_PREFIX" -DBUILD_SHARED_LIBS=OFF "$@" > "$WIN_DEPS/build-$name.log" 2>&1 \
        || { cat "$WIN_DEPS/build-$name.log"; return 1; }
    cmake --build "$WIN_DEPS/build-$name" -j "$(nproc)" >> "$WIN_DEPS/build-$name.log" 2>&1 \
        && cmake --install "$WIN_DEPS/build-$name" >> "$WIN_DEPS/build-$name.log" 2>&1 \
        || { tail -n 40 "$WIN_DEPS/build-$name.log"; return 1; }
    touch "$stamp"
}

step_deps() {
    install_missing_packages "${packages[@]}"
    fetch_sources
    mkdir -p "$WIN_PREFIX"
    build_dep pugixml "$(unpack pugixml)" -DPUGIXML_BUILD_TESTS=OFF
    build_dep libpng "$(unpack libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DZLIB_ROOT=/usr/$HOST
    build_dep libjpeg-turbo "$(unpack libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
    install_jpeg_private_headers
    build_dep googletest /usr/src/googletest -DBUILD_GMOCK=OFF
    install_cli11
}

# CLI11 is headers only, but Debian's package points its CMake target at
# /usr/include, whose C headers are the host's: the headers and the CMake
# files (which find the headers beside themselves) go into the prefix.
install_cli11() {
    mkdir -p "$WIN_PREFIX/include" "$WIN_PREFIX/share/cmake"
    rm -rf "$WIN_PREFIX/include/CLI" "$WIN_PREFIX/share/cmake/CLI11"
    cp -r /usr/include/CLI "$WIN_PREFIX/include/"
    cp -r /usr/share/cmake/CLI11 "$WIN_PREFIX/share/cmake/"
}

# JUCE includes libjpeg's internal headers too, and expects the boolean
# typedef that libjpeg-turbo's Windows jconfig.h leaves out when rpcndr.h
# (which has its own, the same type) came first; JUCE's code includes them in
# the other order, so the typedef must be there.
install_jpeg_private_headers() {
    local stamp=$WIN_PREFIX/.headers-libjpeg-turbo
    [ -f "$stamp" ] && return 0
    local src=$WIN_DEPS/src/libjpeg-turbo
    cp "$src"/*.h "$WIN_PREFIX/include/"
    cp "$WIN_DEPS/build-libjpeg-turbo/jconfig.h" "$WIN_DEPS/build-libjpeg-turbo/jconfigint.h" "$WIN_PREFIX/include/"
    sed -i "s/^#ifndef __RPCNDR_H__.*$/#if 1 \/* the same type as rpcndr.h's: keep it for JUCE *\//" "$WIN_PREFIX/include/jconfig.h"
    touch "$stamp"
}

# Step: build ------------------------------------------------------------------

JUCE_CMAKE_DIR=$(dirname "$(ls /usr/lib/*/cmake/JUCE-*/JUCEConfig.cmake | head -n 1)")

configure() {
    cmake -S "$ROOT" -B "$WIN_BUILD" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DTINTWRIGHT_WINDOWS_DEPS="$WIN_PREFIX" -DCMAKE_PREFIX_PATH="$WIN_PREFIX" \
        -DJUCE_DIR="$JUCE_CMAKE_DIR" -Dpugixml_DIR="$WIN_PREFIX/lib/cmake/pugixml" \
        -DGTest_DIR="$WIN_PREFIX/lib/cmake/GTest" -DCLI11_DIR="$WIN_PREFIX/share/cmake/CLI11" \
        -DTINTWRIGHT_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > "$WIN_BUILD.configure.log" 2>&1 \
        || { cat "$WIN_BUILD.configure.log"; return 1; }
}

# Only what the tests and the packages need: the programs and the test programs.
step_build() {
    mkdir -p "$WIN_BUILD"
    log "configuring $WIN_BUILD"
    configure
    log "building ${WIN_TARGETS[*]}"
    cmake --build "$WIN_BUILD" -j "$(nproc)" --target "${WIN_TARGETS[@]}"
}

# Steps: test, e2e, package (all under Wine) ------------------------------------

WINE_LOADER=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
wine_ready=0

# A private Xvfb, a Wine prefix made once in the build folder, and one wine
# server kept running for the whole run: each test program then starts in a
# few hundredths of a second instead of seconds.
start_wine() {
    [ $wine_ready = 1 ] && return 0
    if [ -z "${XVFB_PID:-}" ]; then
        unset DISPLAY
        source "$ROOT/scripts/xvfb.sh"
        start_xvfb_if_needed
        trap 'stop_wine' EXIT
    fi
    mkdir -p "$WINEPREFIX"
    # The server is made persistent before any Wine program starts one of its
    # own (`wineserver -p` fails while one runs, as it did after `wineboot -i`
    # on a new prefix): that one ends three seconds after the last program,
    # and the next one then waits for a new server and a new boot.
    end_wine_server
    "$WINESERVER" -p || {
        echo "cannot start a persistent wine server for $WINEPREFIX" >&2
        return 1
    }
    # The first Wine command boots the prefix, making it when it is new. (An
    # explicit `wineboot -i` boots a new prefix a second time, beside the
    # first: a second service manager starts, keeps its start lock through
    # the whole run, no program can start the RPC service, and every COM
    # object a window asks for waits three seconds for it: ten seconds an
    # on-screen test.) This first command also starts Wine's services away
    # from the pipes that ctest reads (they would keep them open).
    # Wine waits up to two seconds for a window manager to withdraw each
    # window it hides (every menu, and the four shadow windows of each); there
    # is none on the Xvfb, so Wine is told to manage the windows itself.
    local boot_log=/dev/null
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "making the Wine prefix $WINEPREFIX"
        boot_log=$WIN_BUILD/wineboot.log
    fi
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > "$boot_log" 2>&1 || {
        echo "the first Wine command failed in $WINEPREFIX" >&2
        [ "$boot_log" = /dev/null ] || cat "$boot_log" >&2
        return 1
    }
    # Without an input method server on the Xvfb, Xlib's own one reads the
    # locale's whole compose table in every Wine process that opens a window:
    # 11 ms of each test process. The tests type no composed characters.
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXIM /d N /f > /dev/null 2>&1 || {
        echo "cannot set Wine's X11 driver settings in $WINEPREFIX" >&2
        return 1
    }
    hold_wine_desktop
    wine_ready=1
}

# Wine's desktop process (explorer.exe /desktop) is started by the first
# window of a Wine process, with that process's stderr, and ends a second
# after its last other user. Each test process would start one and CTest
# would wait that second for the desktop to close the test's output pipe:
# 1.2 to 1.5 s an on-screen test instead of 0.1 to 0.6 s. One desktop for
# the whole run, started here with its output away from CTest, and held by a
# program that waits until the server ends (tests/wine).
hold_wine_desktop() {
    local ready=$WIN_BUILD/wine-desktop.out i
    rm -f "$ready"
    "$WINE_LOADER" "$WIN_BUILD/tests/tintwright_wine_desktop.exe" > "$ready" 2>&1 &
    local holder=$!
    for i in $(seq 1 300); do
        grep -q "^ready" "$ready" 2> /dev/null && return 0
        kill -0 "$holder" 2> /dev/null || break
        sleep 0.1
    done
    echo "Wine's desktop did not start for $WINEPREFIX:" >&2
    cat "$ready" >&2
    return 1
}

# Ends the wine server of this prefix, and every Wine program with it, and
# waits until it is gone.
end_wine_server() {
    "$WINESERVER" -k 2> /dev/null || true
    "$WINESERVER" -w
    wine_ready=0
}

stop_wine() {
    end_wine_server
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2> /dev/null || true
}

# The model tests' run time here and, when a Linux build is there, on Linux.
seconds_of() {
    local started=$EPOCHREALTIME
    "$@" > /dev/null 2>&1 || true
    awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'
}

time_model_tests() {
    log "model tests, one process: $(seconds_of "$WINE_LOADER" "$WIN_BUILD/tests/tintwright_model_tests.exe") s under Wine"
    local linux=${BUILD_DIR:-$ROOT/build}/tests/tintwright_model_tests
    if [ -x "$linux" ]; then
        log "model tests, one process: $(seconds_of env -u DISPLAY "$linux") s on Linux"
    fi
}

run_tests_under_wine() {
    start_wine
    log "unit and component tests under Wine (DISPLAY $DISPLAY)"
    # The command-line program's tests (suites Cli...) run tintwright-cli.exe
    # as a Windows child process. The monkey's checker serves
    # scripts/monkey.sh, which drives the Linux program.
    ctest --test-dir "$WIN_BUILD" --output-on-failure -j "$(nproc)" -E '^(e2e_|monkey_)'
}

# With --repeat N the tests run N times, each on a new Wine prefix with a new
# server, as on a fresh machine; all N run, and the step fails if any did.
step_test() {
    if [ "$repeat" -le 1 ]; then
        run_tests_under_wine
    else
        local run failed=0 started
        for run in $(seq 1 "$repeat"); do
            end_wine_server
            rm -rf "$WINEPREFIX"
            started=$SECONDS
            if run_tests_under_wine; then
                log "run $run of $repeat passed in $((SECONDS - started)) s"
            else
                log "run $run of $repeat FAILED after $((SECONDS - started)) s"
                failed=$((failed + 1))
            fi
        done
        log "$((repeat - failed)) of $repeat runs passed"
        [ $failed = 0 ] || return 1
    fi
    time_model_tests
}

step_e2e() {
    start_wine
    log "end-to-end tests of Tintwright.exe under Wine"
    ctest --test-dir "$WIN_BUILD" --output-on-failure -R '^e2e_'
}

step_package() {
    start_wine
    log "making the installer and the zip"
    local out=$WIN_BUILD/packages
    rm -rf "$out"
    cpack --config "$WIN_BUILD/CPackConfig.cmake" -B "$out" > "$WIN_BUILD/cpack.log" 2>&1 \
        || { cat "$WIN_BUILD/cpack.log"; return 1; }
    local version installer archive
    version=$(sed -n 's/^project (Tintwright VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
    installer=$out/Tintwright-$version-win64.exe
    archive=$out/Tintwright-$version-win64.zip
    "$HOST-objdump" -p "$WIN_BUILD/Tintwright_artefacts/Release/Tintwright.exe" | grep -i 'DLL Name' | sort -u > "$WIN_BUILD/dlls.txt"
    if grep -qiE 'libstdc|libgcc|libwinpthread|zlib|libpng|libjpeg' "$WIN_BUILD/dlls.txt"; then
        echo "Tintwright.exe needs a MinGW or library DLL:" >&2
        cat "$WIN_BUILD/dlls.txt" >&2
        return 1
    fi
    log "sizes: $(unzip -p "$archive" '*/Tintwright.exe' | wc -c) bytes Tintwright.exe (stripped), $(stat -c %s "$installer") bytes installer, $(stat -c %s "$archive") bytes zip"
    python3 "$ROOT/tests/e2e/check_windows_packages.py" --wine "$WINE_LOADER" \
        --installer "$installer" --zip "$archive" --shots "$WIN_BUILD/shots-packages"
    log "packages: $installer $archive"
}

run_step() {
    case $1 in
        deps) step_deps ;;
        build) step_build ;;
        test) step_test ;;
        e2e) step_e2e ;;
        package) step_package ;;
        *)
            echo "unknown step: $1" >&2
            return 2
            ;;
    esac
}

repeat=1
steps=()
while [ $# -gt 0 ]; do
    case $1 in
        --repeat)
            [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || {
                echo "--repeat needs a number of runs" >&2
                exit 2
            }
            repeat=$2
            shift 2
            ;;
        *)
            steps+=("$1")
            shift
            ;;
    esac
done
[ ${#steps[@]} -eq 0 ] && steps=(deps build test e2e package)
for step in "${steps[@]}"; do
    run_step "$step"
done
log "done"
