#!/usr/bin/env bash
# Starts the program under Xvfb with its own session bus and accessibility bus, in a
# sandbox whose ports map to nothing, and runs the accessibility check against it.
#   run_check.sh TELMORA_BINARY EXPECTATIONS_FILE
set -euo pipefail
binary=$(realpath "$1")
expectations=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT
mkdir -p "$sandbox/config/telmora"
printf '1=none\n2=none\n3=none\n4=none\n' >"$sandbox/config/telmora/ports"
printf '\001\000' >"$sandbox/CustFile"

export XDG_CONFIG_HOME="$sandbox/config" XDG_RUNTIME_DIR="$sandbox"
cd "$sandbox"
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$0" &
    app=$!
    status=0
    /usr/bin/python3 "$1/check_accessibility.py" telmora "$2" || status=$?
    kill $app $launcher 2>/dev/null || true
    wait $app 2>/dev/null || true
    exit $status
' "$binary" "$here" "$expectations" 2>&1 | grep -v -E "dbus-daemon|XDG_RUNTIME_DIR|AccessDenied|SpiRegistry"
