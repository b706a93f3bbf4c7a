#!/usr/bin/env bash
# Runs Debian's package checker on the .deb that packaging_deb_test built, and checks the packaged
# executable's and the window module's hardening where the build asked for all of it. Skipped (77) where lintian is not installed.
set -euo pipefail
scratch=$1 hardened=$2
command -v lintian >/dev/null || { echo "skipped: lintian is missing (package lintian)"; exit 77; }
debs=("$scratch"/tarvel_*.deb)
[ -f "${debs[0]}" ] || { echo "no tarvel_*.deb in $scratch"; exit 1; }
# Every tag is shown; an error or a warning fails.
lintian --pedantic --info --fail-on error,warning "${debs[0]}"
if [ "$hardened" = 1 ]; then
    command -v hardening-check >/dev/null || { echo "hardening-check is missing (package devscripts)"; exit 1; }
    # Debian 12's own C start files carry no control-flow marking, so no program linked there can show it.
    hardening-check --nocfprotection "$scratch/root/usr/bin/tarvel" "$scratch"/root/usr/lib/*/tarvel/tarvel-window.so
else
    echo "not checking the hardening: this build leaves part of it out (sanitizers, no optimisation)"
fi
