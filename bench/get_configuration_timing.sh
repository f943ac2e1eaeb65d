#!/usr/bin/env bash
# Times the window's "Get Configuration From Sensor" against a Kelvo-B simulator paced at
# 9600 baud and compares it with the wire-time floor (see get_configuration_timing.cpp).
#   bench/get_configuration_timing.sh [BUILD_DIR] [RUNS] [FAULT]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
fault=${3:-}
cmake --build "$build" --target get_configuration_timing kelvo-sim >/dev/null
exec "$build/bench/get_configuration_timing" --sim "$build/tools/kelvo-sim/kelvo-sim" \
    --runs "$runs" ${fault:+--fault "$fault"}
