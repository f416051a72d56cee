#!/bin/sh
# Installs what is needed, builds and runs every test.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
ctest --test-dir build --output-on-failure -j2
