#!/usr/bin/env bash
# Builds the Debian package build/package/telmora_<version>_<architecture>.deb: the three
# programs, the help document, desktop entry, icons, catalogue entry and manual pages,
# installed under /usr. Its Depends field comes from dpkg-shlibdeps.
#   scripts/package.sh          then: sudo apt-get install ./build/package/telmora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
cpack --config build/CPackConfig.cmake -B build/package >build/package.log 2>&1 ||
    { cat build/package.log; exit 1; }
deb=$(echo build/package/telmora_*.deb)
echo "Built $deb"
dpkg-deb -f "$deb" Package Version Depends
