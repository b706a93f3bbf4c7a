#!/usr/bin/env bash
# Runs a Python check on a virtual X display inside a D-Bus session of its own, where the accessibility
# bus starts on demand: on-accessibility-bus.sh SCRIPT ARGS... Exits 77 (skipped) when a tool is missing.
set -euo pipefail
script=$1
shift

skip() {
    echo "skipped: $1"
    exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb is missing (package xvfb)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (package dbus)"
[ -e /usr/share/dbus-1/services/org.a11y.Bus.service ] || skip "the AT-SPI bus is missing (package at-spi2-core)"
# A Python of its own (pyenv and the like) may lack the system's bindings.
python=""
for candidate in python3 /usr/bin/python3; do
    if command -v "$candidate" >/dev/null && "$candidate" -c 'import pyatspi' 2>/dev/null; then
        python=$candidate
        break
    fi
done
[ -n "$python" ] || skip "the AT-SPI Python bindings are missing (package python3-pyatspi)"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-a11y.XXXXXX")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
# Xvfb writes its display number once it accepts clients.
for _ in $(seq 200); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$scratch/xvfb.log"; exit 1; }
    sleep 0.05
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- "$python" "$script" "$@"
