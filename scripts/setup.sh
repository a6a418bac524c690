#!/bin/sh
# Installs what the build needs (Debian 12 packages) and builds tradebook into ./build.
# Sourced by run.sh and test.sh; apt-get runs only when a package is missing, and through
# sudo only when we are not root.
set -eu

ROOT=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
BUILD_DIR=${TRADEBOOK_BUILD_DIR:-$ROOT/build}

PACKAGES="build-essential cmake ninja-build git qt6-base-dev qt6-base-dev-tools
libqt6sql6-sqlite libqt6sql6-psql postgresql libgl-dev libxcb1-dev fonts-noto-cjk xvfb xauth
clang libclang-rt-14-dev poppler-utils desktop-file-utils appstream"

missing_packages() {
    for package in $PACKAGES; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        case "$status" in
            *"install ok installed"*) ;;
            *) printf '%s ' "$package" ;;
        esac
    done
}

install_missing() {
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    if [ "$(id -u)" -eq 0 ]; then
        SUDO=
    elif command -v sudo >/dev/null 2>&1; then
        SUDO=sudo
    else
        echo "These packages are missing and neither root nor sudo is available: $missing" >&2
        exit 1
    fi
    $SUDO apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
}

build() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j2
}

install_missing
build
