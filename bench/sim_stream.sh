#!/usr/bin/env bash
# Measures the simulated sensor's line as the program's end sees it: bytes per second
# from the first byte to the last, paced at 9600 baud (expect 960 bytes/s, 160
# readings/s) and unpaced (memory speed).
# Usage: bench/sim_stream.sh [BUILD_DIR] [READINGS]
set -euo pipefail
build=${1:-build}
readings=${2:-500}
sim="$build/tools/kelvo-sim/kelvo-sim"
[ -x "$sim" ] || { echo "no simulator at $sim; build the kelvo-sim target" >&2; exit 1; }

measure() {
    local label=$1; shift
    local out; out=$(mktemp)
    "$sim" --quiet --rate 0 --count "$readings" "$@" >"$out" &
    local pid=$!
    while [ ! -s "$out" ]; do sleep 0.01; done
    python3 - "$(head -n 1 "$out")" "$((readings * 6))" "$label" <<'PY'
import os, select, sys, time
port, want, label = sys.argv[1], int(sys.argv[2]), sys.argv[3]
fd = os.open(port, os.O_RDONLY | os.O_NOCTTY)
got, first = 0, None
while got < want:
    if not select.select([fd], [], [], 10)[0]:
        break
    got += len(os.read(fd, 65536))
    first = first or time.monotonic()
span = time.monotonic() - first
print(f"{label:8} {got:7d} bytes in {span:7.3f} s after the first: "
      f"{got / span:10.0f} bytes/s, {got / 6 / span:9.1f} readings/s")
PY
    kill -TERM "$pid"; wait "$pid" || true
    rm -f "$out"
}

measure paced --paced
measure unpaced
