#!/bin/sh
# Builds the Debian package tripvane_<version>_amd64.deb into this folder from ./build.
#     sh scripts/package.sh
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
cp build/tripvane_*.deb .
ls tripvane_*.deb
