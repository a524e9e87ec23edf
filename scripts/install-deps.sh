#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vok need.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev libsqlite3-dev
  fonts-liberation fontconfig
  xvfb xauth poppler-utils sqlite3
  unzip odt2txt python3-icalendar
  file librsvg2-bin desktop-file-utils appstream python3-pyatspi at-spi2-core dbus-x11
  qt6-translations-l10n
  libpq-dev libqt6sql6-psql postgresql
  lintian
  tj3 planner-data xsltproc libxml2-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
