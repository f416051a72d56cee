#!/bin/sh
# Installs what is missing, builds the two programs and starts mileagelog on its default device.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --if-missing
sh scripts/build.sh mileagelog peghelp
exec ./build/bin/mileagelog
