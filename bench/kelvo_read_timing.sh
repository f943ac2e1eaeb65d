#!/usr/bin/env bash
# Times `kelvo read` of a Kelvo-B sensor whose simulator sends at 9600 baud, against the
# wire-time floor of the exchange:
#   100 ms until the first Timer1 tick sends the detection frame,
#   20 characters of detection (frame 6, echo 6, "T00" 3, identification reply 5),
#   90 registers x 12 characters ("G" frame 6, reply 6),
#   at 10 bits a character: 1.0417 ms.  Floor = 100 + 1100 x 1.0417 = 1245.8 ms.
# The simulator paces both directions, kelvo's frames included, so no run can beat it.
# With FAULT (for example stray=5,3) the simulator misbehaves so, and the clean time is
# the same run without it.
#   bench/kelvo_read_timing.sh [BUILD_DIR] [RUNS] [FAULT]
set -euo pipefail
build=${1:-build}
runs=${2:-7}
fault=${3:-}
kelvo="$build/tools/kelvo/kelvo"
sim="$build/tools/kelvo-sim/kelvo-sim"
[ -x "$kelvo" ] && [ -x "$sim" ] || { echo "build kelvo and kelvo-sim in $build first" >&2; exit 1; }

work=$(mktemp -d)
"$sim" --family b --paced --quiet ${fault:+--fault "$fault"} >"$work/sim.out" 2>/dev/null &
simpid=$!
trap 'kill $simpid 2>/dev/null; wait $simpid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
done
port=$(head -n 1 "$work/sim.out")
case "$port" in /dev/pts/*) ;; *) echo "no pseudo-terminal from the simulator" >&2; exit 1 ;; esac

times=()
for i in $(seq "$runs"); do
    start=$(date +%s%N)
    "$kelvo" read --port "$port" -o "$work/read.cfg" >/dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
    sleep 0.2 # the simulator resumes its readings after "E"
done

sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( runs / 2 ))]}
best=${sorted[0]}
awk -v med="$median" -v best="$best" -v runs="$runs" -v fault="${fault:+, fault $fault}" 'BEGIN {
    char = 10000.0 / 9600;          # ms per character
    line = 100 + 1100 * char;        # both directions on a 9600 baud line
    printf "kelvo read, Kelvo-B, simulator paced at 9600 baud%s, %d runs\n", fault, runs;
    printf "  median %.1f ms, best %.1f ms\n", med / 1000, best / 1000;
    printf "  line floor %.1f ms: median %.3fx (target <= 1.05x)\n", line, med / 1000 / line;
}'
