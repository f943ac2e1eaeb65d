#!/usr/bin/env bash
# Renews the pictures in docs/ under Xvfb, so they come out the same on any machine with or
# without a display: the dialogs (normal size and at 150 %) and the main window streaming
# readings from a simulated Kelvo-B at screen scales 100 %, 150 % and 200 %, and the first
# page of a commissioning report made from that window.
#   scripts/screenshots.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
[[ $build = /* ]] || build=$root/$build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target dialog_screenshots report_sample telmora kelvo-sim
tool="$build/tools/screenshots/dialog_screenshots"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "
    '$tool' docs &&
    QT_SCALE_FACTOR=1.5 '$tool' docs @150"

# The main window in a sandbox of its own (port 1 on the simulator, no user settings).
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT
mkdir -p "$sandbox/config/telmora"
printf '\001\000' >"$sandbox/CustFile"
for scale in 1 1.5 2 report; do
    "$build/tools/kelvo-sim/kelvo-sim" --quiet --family b --sine 30:180 --period 60 >"$sandbox/sim.out" &
    sim=$!
    for _ in $(seq 100); do
        [ -s "$sandbox/sim.out" ] && break
        sleep 0.05
    done
    printf '1=%s\n2=none\n3=none\n4=none\n' "$(head -n 1 "$sandbox/sim.out")" \
        >"$sandbox/config/telmora/ports"
    if [ "$scale" = report ]; then
        (cd "$sandbox" && XDG_CONFIG_HOME="$sandbox/config" xvfb-run -a -s "-screen 0 1920x1200x24" \
            "$build/tools/screenshots/report_sample" report.pdf)
        pdftoppm -png -r 60 -singlefile "$sandbox/report.pdf" docs/commissioning-report
        kill "$sim" 2>/dev/null || true
        wait "$sim" 2>/dev/null || true
        continue
    fi
    case $scale in 1) name=main-window ;; 1.5) name=main-window@150 ;; *) name=main-window@200 ;; esac
    # The program must have ended before the next one starts: it holds the port's lock.
    (cd "$sandbox" && XDG_CONFIG_HOME="$sandbox/config" QT_SCALE_FACTOR=$scale \
        xvfb-run -a -s "-screen 0 1920x1200x24" sh -c \
        "'$build/src/app/telmora' & app=\$!; sleep 8; import -window root shot.png; kill \$app; wait \$app; exit 0")
    convert "$sandbox/shot.png" -trim +repage "docs/$name.png"
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
done
echo "Pictures renewed in docs/"
