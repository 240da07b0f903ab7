# What comes from Debian's archive (sourced by scripts/deps.sh, scripts/web.sh
# and scripts/windows.sh): binary packages installed when missing, and the
# source packages of the libraries the Windows and the web builds compile
# themselves, through a deb-src entry beside the deb one (same mirror and key).

# install_missing_packages PACKAGE...: installs those not installed yet
# (apt-get needs root). Another apt-get may hold the lock for a while: wait.
install_missing_packages() {
    local missing=() p sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
}

# fetch_source_packages FOLDER PACKAGE...: downloads what FOLDER lacks.
fetch_source_packages() {
    local folder=$1
    shift
    local list=/etc/apt/sources.list.d/tintwright-deb-src.sources
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    mkdir -p "$folder"
    local missing=() p
    for p in "$@"; do
        compgen -G "$folder/${p}_*.dsc" > /dev/null || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ ! -f "$list" ]; then
        local uri keyring
        uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2> /dev/null || true)
        keyring=$(awk '/^Signed-By:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2> /dev/null || true)
        $sudo tee "$list" > /dev/null << EOF_LIST
Types: deb-src
URIs: ${uri:-http://deb.debian.org/debian}
Suites: bookworm
Components: main
Signed-By: ${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}
EOF_LIST
        $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
    fi
    echo "fetching the sources of ${missing[*]}"
    (cd "$folder" && apt-get source -qq --download-only "${missing[@]}")
}

# unpack_source_package FOLDER PACKAGE: unpacks it (with Debian's patches)
# once into FOLDER/PACKAGE and prints that folder.
unpack_source_package() {
    local folder=$1 package=$2 dsc
    dsc=$(ls "$folder/${package}"_*.dsc | head -n 1)
    if [ ! -d "$folder/$package" ]; then
        dpkg-source --no-check -x "$dsc" "$folder/$package" > /dev/null
    fi
    echo "$folder/$package"
}
