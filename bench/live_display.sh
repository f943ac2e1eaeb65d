#!/usr/bin/env bash
# Live measurement benchmark: kelvo-sim streams 160 readings a second (9600 baud, six
# characters a reading) into the running window with statistics, strip chart, gauges and
# data log all on, for 10 minutes by default. Prints readings sent and shown, latency from
# a reading's last character to its count on screen, CPU and resident memory over time.
#
#   bench/live_display.sh [BUILD_DIR] [SECONDS]
#
# Targets: no reading lost, 99th percentile under 20 ms, under 10 % of one core, memory
# flat. Runs under Xvfb when it is installed (a real X server), else offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-600}

cmake --build "$build" --target live_display_probe kelvo-sim >/dev/null
probe=$(find "$build" -name live_display_probe -type f -perm -u+x | head -n 1)
sim=$(find "$build" -name kelvo-sim -type f -perm -u+x | head -n 1)
if [[ -z "$probe" || -z "$sim" ]]; then
    echo "live_display_probe or kelvo-sim not built in $build" >&2
    exit 1
fi

if command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$probe" --sim "$sim" --seconds "$seconds"
fi
QT_QPA_PLATFORM=offscreen exec "$probe" --sim "$sim" --seconds "$seconds"
