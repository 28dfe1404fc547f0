#!/usr/bin/env bash
# Installs the Debian packages the build, the program, the tests, the
# Debian package (icons rendered with Qt SVG, the validators, lintian) and
# the benchmark under a real X server (Xvfb, an XTest client) need,
# only those that are missing, so a second run costs nothing.
set -euo pipefail
packages=(
  build-essential cmake python3
  qt6-base-dev libqt6sql6-sqlite qt6-multimedia-dev libgl-dev
  fonts-liberation fonts-noto-color-emoji espeak-ng poppler-utils sqlite3
  qt6-svg-dev dpkg-dev file desktop-file-utils appstream lintian
  xvfb libx11-dev libxtst-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
