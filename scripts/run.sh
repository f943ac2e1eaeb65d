#!/usr/bin/env bash
# Installs what is missing, builds, and starts Telmora on a simulated Kelvo-B sensor.
# The program runs in a sandbox folder (build/run) whose port mapping points port 1 at the
# simulator's pseudo-terminal, so your own settings and serial ports are left alone.
# Without a display it runs under Xvfb, saves a screenshot and says where.
#   scripts/run.sh [--family a|b]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

family=b
[ "${1:-}" = "--family" ] && family=${2:-b}

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target telmora kelvo-sim

run="$root/build/run"
mkdir -p "$run/config/telmora"
export XDG_CONFIG_HOME="$run/config"

# The simulator prints its pseudo-terminal's path on its first line.
"$root/build/tools/kelvo-sim/kelvo-sim" --family "$family" >"$run/sim.out" 2>"$run/sim.err" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -s "$run/sim.out" ] && break
    sleep 0.05
done
device=$(head -n 1 "$run/sim.out")
[ -n "$device" ] || { echo "The simulator did not start; see $run/sim.err" >&2; exit 1; }

printf '1=%s\n2=none\n3=none\n4=none\n' "$device" >"$run/config/telmora/ports"
printf '\001\000' >"$run/CustFile" # port 1, 16-bit little-endian
cd "$run"

echo "Simulated Kelvo-$(echo "$family" | tr ab AB) on $device (Telmora port 1)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$root/build/src/app/telmora"
else
    shot="$root/build/screenshot.png"
    xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \
        "'$root/build/src/app/telmora' & app=\$!; sleep 6; import -window root '$shot'; kill \$app"
    echo "No display: ran under Xvfb and saved a screenshot to $shot"
fi
