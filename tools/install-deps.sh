#!/usr/bin/env bash
# Installs, from Debian's repositories, whatever the build, the game and the tests need and is missing.
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    qt6-base-dev libxcb-present-dev libsdl2-mixer-dev timgm6mb-soundfont fonts-dejavu-core
    libgtest-dev libbenchmark-dev
    xvfb xauth libx11-dev libxtst-dev libxcb1-dev x11-xkb-utils
    xfwm4 mutter dbus-daemon x11-utils
    dpkg-dev lintian desktop-file-utils appstream man-db groff-base
    pulseaudio pulseaudio-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
