# Shared by scripts/run and scripts/test: install what is missing, then build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PACKAGES=(g++ make cmake fonts-dejavu-core qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6test6 libqt6serialport6
    # the gamepad's SDL2
    libsdl2-dev
    # the window's translations: lupdate and lrelease, and Qt's own German texts
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    # tavro-lensd: HTTP, the WebSocket live feed and OSC; liblo-tools' oscsend
    # and oscdump for trying it by hand
    qt6-httpserver-dev qt6-websockets-dev liblo-dev liblo-tools
    # scripts/package-check: dpkg-shlibdeps (dpkg-dev) and file for CPack's DEB,
    # the validators of the desktop entry and the AppStream metainfo, lintian,
    # and lexgrog (man-db) for the manual pages
    dpkg-dev file desktop-file-utils appstream lintian man-db
    # tests/accessibility: the window read over AT-SPI on a display of its own
    at-spi2-core dbus python3-pyatspi xvfb
    # tests/web: the server's control page in Debian's own Chromium
    chromium)

ensure_packages() {
    local missing=() package
    for package in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them first with:"
        echo "  sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# tests/web's packages (playwright-core), exactly as its package-lock.json
# pins them, with the machine's Node.js and npm.
ensure_web_packages() {
    command -v npm >/dev/null || ensure_packages nodejs npm
    npm ci --prefix "$ROOT/tests/web" --no-audit --no-fund --loglevel=error
}

# configure DIR [cmake options...]: the project's own code builds without a
# warning, here and in CI (scripts/test), so a warning is an error.
configure() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_WERROR=ON "$@" >/dev/null
}

# build DIR [cmake options...]: configures and builds everything.
build() {
    configure "$@"
    cmake --build "$ROOT/$1" --parallel "$(nproc)"
}
