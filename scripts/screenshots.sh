#!/usr/bin/env bash
# Renews the dialog pictures in docs/ (normal size and at 150 %) under Xvfb, so they come
# out the same on any machine with or without a display.
#   scripts/screenshots.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target dialog_screenshots
tool="$(pwd)/$build/tools/screenshots/dialog_screenshots"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "
    '$tool' docs &&
    QT_SCALE_FACTOR=1.5 '$tool' docs @150"
