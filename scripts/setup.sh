#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and
# those the scripts here use. Only what is missing is installed (no apt-get
# call when nothing is); run as root or with sudo rights. With --print it
# prints the package names, one a line, and installs nothing. (resources/make-sounds.sh, run by hand only when an
# announcement changes, needs espeak-ng and sox besides.)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    # building (Qt's CMake packages find some of their own parts with pkg-config)
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev
    # repeat rules (iCalendar RRULE)
    libical-dev
    # running: the power log's SQLite driver, Qt's own Chinese texts, a Chinese
    # font, xdg-open for files and web addresses
    libqt6sql6-sqlite qt6-translations-l10n fonts-noto-cjk xdg-utils
    # testing: private D-Bus daemons, the end-to-end test and the start-up
    # benchmark on a private X server
    dbus xvfb xdotool python3
    # the install test: the desktop entry and metadata validators, the manual
    # page, the window class; scripts/package.sh checks the package with lintian
    appstream desktop-file-utils man-db x11-utils lintian
    # scripts/fuzz.sh (libFuzzer) and scripts/sanitize.sh (memcheck)
    clang libclang-rt-14-dev valgrind
)

if [ "${1:-}" = --print ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

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
