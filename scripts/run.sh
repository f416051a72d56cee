#!/bin/sh
# Installs what is needed, builds and starts mileagelog on its default device.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
exec ./build/bin/mileagelog
