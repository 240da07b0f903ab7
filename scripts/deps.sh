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
    python3-colorspacious
)

source "$(dirname "$0")/debian-archive.sh"
install_missing_packages "${packages[@]}"
