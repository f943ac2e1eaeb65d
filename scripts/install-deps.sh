#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; does nothing
# when they are all present already.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config ccache clang clang-tidy libclang-rt-14-dev
    qt6-base-dev qt6-serialport-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    # poppler-utils: pdftotext reads the commissioning report back in its test
    xvfb xauth imagemagick poppler-utils fonts-dejavu-core
    at-spi2-core python3-pyatspi dbus-x11
    dpkg-dev file man-db groff-base appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
