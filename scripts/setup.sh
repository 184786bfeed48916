#!/usr/bin/env bash
# Installs the Debian packages the build needs; skips what is present.
set -euo pipefail
packages=(cmake g++ make pkg-config
          # keeps what was compiled once, so a second clone or a CI run builds in minutes
          ccache
          qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev libsodium-dev
          # the reports' Excel files; unzip lets their tests read them back
          libxlsxwriter-dev unzip
          # reading .xlsx workbooks for the import of masters (the zip library libxlsxwriter uses too)
          libminizip-dev
          # the QR codes on the printed invoice; zbar-tools lets their tests read them back
          libqrencode-dev zbar-tools
          # the barcodes on the item labels (zbar-tools reads them back in the tests)
          libzint-dev
          libgl-dev libxcb1-dev fonts-dejavu-core fonts-liberation2 poppler-utils
          # run time: the SVG plug-in draws the program's pictures
          libqt6svg6
          # the tests of the server store start a throw-away PostgreSQL server
          postgresql
          # the Debian package and its checks (scripts/package.sh, tests/package)
          dpkg-dev help2man lintian desktop-file-utils appstream man-db
          # the check of the Windows installer's script (tests/windows)
          nsis)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
