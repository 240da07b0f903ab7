#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but
# only when one is missing (apt-get needs root).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache git
    juce-modules-source
    libgtest-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick desktop-file-utils python3
    fonts-dejavu-core
    dpkg-dev file lintian appstream strace
    clang libclang-rt-14-dev clang-format
    libpugixml-dev libcli11-dev
    libfiu-dev fiu-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    # Another apt-get may hold the lock for a while: wait for it.
    $SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
fi
