#!/bin/sh
# Packages for building, testing and running on Debian 12 (run as root).
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    qt6-base-dev qt6-multimedia-dev libsqlite3-dev libgtest-dev \
    cmake ninja-build g++ pkg-config fonts-liberation2 sqlite3 \
    desktop-file-utils appstream
