#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the desktop's own tools; skipped (77) where
# those tools are not installed.
set -euo pipefail
dir=$1 id=$2
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || exit 77
desktop-file-validate "$dir/$id.desktop"
appstreamcli validate --no-net "$dir/$id.metainfo.xml"
