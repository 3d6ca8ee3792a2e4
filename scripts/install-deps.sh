#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Merrow need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
    g++ make cmake ccache pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libqt6printsupport6
    qt6-qpa-plugins libgl1-mesa-dev libxkbcommon-dev qt6-translations-l10n
    libsodium-dev
    fonts-wqy-microhei
    libsqlite3-dev sqlite3 python3 python3-xlrd
    xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
