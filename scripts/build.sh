#!/bin/sh
# Configures and builds into ./build: everything, or only the targets named. CI builds treat
# warnings as errors.
set -e
cd "$(dirname "$0")/.."
werror=OFF
[ -n "$CI" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIPVANE_WERROR=$werror
if [ $# -gt 0 ]; then
    cmake --build build --target "$@"
else
    cmake --build build
fi
