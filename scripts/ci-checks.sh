#!/bin/sh
# The checks CI runs besides the README's test command: formatting of every C++ file, the Debian
# package installed and removed, a fuzzing smoke run of 12 seconds per target, and the whole
# suite again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -e
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends clang-format clang libclang-rt-14-dev >/dev/null

echo "clang-format check"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "Debian package"
sh scripts/check-package.sh

echo "fuzzing smoke run"
sh scripts/fuzz.sh 12

echo "sanitizer build"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIPVANE_WERROR=ON \
    -DTRIPVANE_SANITIZE=address,undefined -DTRIPVANE_BENCH=OFF
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/leak-suppressions.txt" \
    ctest --test-dir build-sanitize --output-on-failure -j2
