#!/usr/bin/env bash
# Installs each package into a folder of its own, as a user would, and runs the tool from there:
# the Windows ZIP under Wine in a new Wine prefix, the Debian package extracted with dpkg-deb.
# Usage: scripts/test-packages.sh DEB ZIP
set -euo pipefail
deb=$(realpath "$1")
zip=$(realpath "$2")
root=$(realpath "$(dirname "$0")/..")
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "package test: $*" >&2
    exit 1
}

# Runs the tool's three everyday commands with the launcher and checks what they say and write. The
# picture is given to the tool as PICTURE (its own form of the path) and checked at FILE.
check_commands() {
    local name=$1 picture=$2 file=$3 out
    shift 3
    out=$(mktemp -d -p "$work")
    "$@" plugins >"$out/plugins.txt" || fail "$name: 'plugins' failed"
    grep -q "kr_tintworks.dlt" "$out/plugins.txt" || fail "$name: 'plugins' does not list the plug-in"
    grep -q "KR Chromasift" "$out/plugins.txt" || fail "$name: 'plugins' does not list the map's class"
    "$@" palette --colors 8 >"$out/palette.txt" || fail "$name: 'palette' failed"
    [[ $(grep -c "#[0-9a-f]\{6\}" "$out/palette.txt") -ge 8 ]] || fail "$name: 'palette' printed no eight colours"
    "$@" render --colors 8 --mode "Per Face" --size 320x240 -o "$picture" >/dev/null || fail "$name: 'render' failed"
    [[ -s "$file" ]] || fail "$name: 'render' wrote no picture"
    echo "$name: plugins, palette and render work from the installed files"
}

# The user guide the About rollout opens: the build's address, taken from the plug-in folder.
check_guide() {
    local name=$1 plugins=$2 cache=$3
    local address
    address=$(sed -n 's/^CHROMASIFT_DOCUMENTATION_ADDRESS:STRING=//p' "$cache")
    [[ -f "$plugins/$address" ]] || fail "$name: the user guide $address is not beside the plug-in folder"
}

# The Debian package, extracted rather than installed: nothing of the machine changes.
mkdir -p "$work/deb/root"
dpkg-deb -x "$deb" "$work/deb/root"
dpkg-deb -f "$deb" Depends | grep -q libassimp || fail "the Debian package does not declare its libraries"
[[ -f "$work/deb/root/usr/share/doc/chromasift/copyright" ]] || fail "the Debian package has no copyright file"
check_guide "Debian package" "$work/deb/root/usr/lib/chromasift/plugins" "$root/build/linux/CMakeCache.txt"
check_commands "Debian package" "$work/deb/render.png" "$work/deb/render.png" "$work/deb/root/usr/bin/chromasift"
# Model files are read by the model reader the package installs beside the tool.
"$work/deb/root/usr/bin/chromasift" render "$root/tests/data/meshes/box.obj" --size 64x48 -o "$work/deb/model.png" \
    >/dev/null || fail "Debian package: 'render' of a model file failed"

# The ZIP, unpacked into an empty folder and run in a Wine prefix of its own.
mkdir -p "$work/zip"
unzip -q "$zip" -d "$work/zip"
folder=$(find "$work/zip" -mindepth 1 -maxdepth 1 -type d)
[[ -f "$folder/chromasift.exe" && -f "$folder/hostsdk.dll" && -f "$folder/plugins/kr_tintworks.dlt" ]] ||
    fail "the ZIP does not hold chromasift.exe, hostsdk.dll and plugins/kr_tintworks.dlt"
[[ -f "$folder/INSTALL.txt" && -n $(ls "$folder/licences") ]] || fail "the ZIP has no install text or licences"
check_guide "ZIP" "$folder/plugins" "$root/build/windows/CMakeCache.txt"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot --init >/dev/null 2>&1 || fail "a new Wine prefix could not be made"
(cd "$folder" && check_commands "ZIP" render.png "$folder/render.png" wine ./chromasift.exe)
