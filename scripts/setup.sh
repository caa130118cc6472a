#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only what is missing is installed; run as root or with sudo rights.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-svg-dev qt6-multimedia-dev
    libqt6sql6-sqlite qt6-translations-l10n
    fonts-noto-cjk
    xvfb xdotool xdg-utils dbus python3
    appstream desktop-file-utils man-db
    espeak-ng sox
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
