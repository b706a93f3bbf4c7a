#!/usr/bin/env bash
# Builds the .deb from this build tree into a scratch folder, unpacks it into a scratch root the way dpkg
# would install it, and checks the installed files and the package's control fields.
set -euo pipefail
build=$1 scratch=$2 id=$3
rm -rf "$scratch" && mkdir -p "$scratch"
cpack -G DEB -B "$scratch" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; exit 1; }
debs=("$scratch"/tarvel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one tarvel_*.deb in $scratch"; exit 1; }
deb=${debs[0]}
root=$scratch/root
dpkg -x "$deb" "$root"

fail=0
expect() { echo "FAIL: $*"; fail=1; }
for f in usr/bin/tarvel usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/tarvel.svg usr/share/man/man1/tarvel.1.gz \
         usr/share/doc/tarvel/copyright usr/share/doc/tarvel/changelog.gz; do
    [ -f "$root/$f" ] || expect "$f is not in the package"
done
[ -x "$root/usr/bin/tarvel" ] || expect "usr/bin/tarvel is not executable"
[ "$(head -c 4 "$root/usr/bin/tarvel" | od -An -c | tr -d ' ')" = '177ELF' ] ||
    expect "usr/bin/tarvel is not an ELF file"
# The window is a module that the installed executable finds in its private folder: with it, the window
# opens and stays until ended; without it, the program would end at once.
modules=("$root"/usr/lib/*/tarvel/tarvel-window.so)
[ -f "${modules[0]}" ] || expect "the window's module is not in the package"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/tarvel" >"$scratch/window.log" 2>&1 || status=$?
[ $status -eq 124 ] || expect "the installed window did not open ($status): $(cat "$scratch/window.log")"
grep -qx 'Exec=tarvel' "$root/usr/share/applications/$id.desktop" || expect "the desktop entry does not run tarvel"

# The manual page lists each of the beacon's options as the program's own help does ("--every DURATION").
command -v man >/dev/null || { echo "man is missing (package man-db)"; exit 1; }
page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/tarvel.1.gz" 2>&1 | tr -s ' ')
help=$("$root/usr/bin/tarvel" beacon --help)
options=$(sed -n 's/^  \(--[a-z-]*\( [A-Z]*\)\{0,1\}\)  .*/\1/p' <<<"$help")
[ -n "$options" ] || expect "no options found in: $help"
while read -r option; do
    grep -qF -- "$option" <<<"$page" || expect "the manual page lacks \"$option\""
done <<<"$options"
version=$(dpkg-deb -f "$deb" Version)
zcat "$root/usr/share/doc/tarvel/changelog.gz" | sed -n 1p | grep -qF "tarvel ($version)" ||
    expect "the changelog does not begin with version $version"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    expect "the metainfo has no release $version"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tarvel ] || expect "Package is '$(field Package)'"
[ "$(field Section)" = hamradio ] || expect "Section is '$(field Section)'"
depends=$(field Depends)
# dpkg-shlibdeps names the libraries the executable links; a missing one means it did not run.
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for lib in libasound2 libqt6widgets6 libqt6serialport6 libc6; do
    grep -qx "$lib" <<<"$names" || expect "Depends lacks $lib: $depends"
done
exit $fail
