#!/bin/sh
# Configures and builds into ./build. CI builds treat warnings as errors.
set -e
cd "$(dirname "$0")/.."
werror=OFF
[ -n "$CI" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIPVANE_WERROR=$werror
cmake --build build
