#!/bin/sh
# Packages for building, testing and running on Debian 12 (run as root). With --if-missing,
# nothing is done when they are all installed already.
set -e
export DEBIAN_FRONTEND=noninteractive
packages="qt6-base-dev qt6-multimedia-dev libsqlite3-dev libgtest-dev cmake ninja-build g++
    pkg-config fonts-liberation2 sqlite3 desktop-file-utils appstream xvfb xdotool openbox
    dbus-daemon at-spi2-core python3-pyatspi poppler-utils"
if [ "$1" = "--if-missing" ]; then
    missing=no
    for package in $packages; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing=yes
    done
    [ "$missing" = no ] && exit 0
fi
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $packages
