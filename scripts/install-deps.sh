#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those that are missing.
# Usage: scripts/install-deps.sh [--windows | --fuzz]
#   --windows adds the cross compiler and Wine, and for the tests on a real display an X server (Xvfb), input
#   events (xdotool), screen reading (xwd) and python3; --fuzz adds clang and its runtime libraries (libFuzzer and the
#   sanitizers' runtimes, which the build without recommended packages would otherwise leave out).
set -euo pipefail

packages=(cmake ninja-build make g++ googletest libbenchmark-dev libstb-dev nlohmann-json3-dev libopenexr-dev libassimp-dev fonts-dejavu-core)
case "${1:-}" in
--windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool x11-apps python3) ;;
--fuzz) packages+=(clang libclang-rt-dev) ;;
esac

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
