#!/bin/sh
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs
# each for the given seconds (default 30) from the seed corpus in fuzz/corpus; findings are
# written to build-fuzz/ and end the run with an error.
#     sh scripts/fuzz.sh [seconds]
set -e
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build-fuzz
mkdir -p "$out"
rm -f "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-*
flags="-std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
qt="$(pkg-config --cflags --libs Qt6Core Qt6Gui)"
includes="-Isrc/core -Isrc/model -Isrc/storage -Isrc/platform -Isrc/export -Isrc/import -Isrc/setup -Isrc/tools/ceappmgr -Isrc/cli -Isrc/print -Iresources"
# the command line with the storage and the export under it, one line for the table below
storage="src/storage/Databases.cpp src/storage/ObjectStore.cpp src/storage/Sqlite.cpp src/storage/PropertyCodec.cpp src/storage/AppSettings.cpp src/storage/StoreReplacement.cpp"
cli="src/cli/Cli*.cpp src/core/DeviceLog.cpp src/core/TripClaim.cpp src/core/TripLog.cpp src/print/MileageLogPrint.cpp $out/moc_TripLog.cpp $storage src/export/CsvExport.cpp src/export/CsvText.cpp src/import/CsvReader.cpp src/model/*.cpp src/platform/DeviceRoot.cpp src/platform/DeviceLock.cpp src/platform/OutputFile.cpp src/platform/SystemClock.cpp"
# target, its seed corpus under fuzz/corpus, and the sources it needs
targets="
AmountTextFuzz amount src/model/AmountText.cpp
RateTableFuzz rates src/model/Rates.cpp src/model/TextRules.cpp
PropertyCodecFuzz properties src/storage/PropertyCodec.cpp
InstallDescriptionFuzz install src/tools/ceappmgr/IniInstall.cpp src/platform/DeviceRoot.cpp src/platform/DeviceLock.cpp src/storage/ObjectStore.cpp src/storage/Sqlite.cpp src/storage/PropertyCodec.cpp
DeviceIdentityFuzz identity src/platform/DeviceIdentity.cpp src/platform/DeviceRoot.cpp src/platform/DeviceLock.cpp src/platform/SmallFile.cpp
DesktopRegistryFuzz registry src/setup/DesktopRegistry.cpp src/platform/SmallFile.cpp
CsvLineFuzz csv src/export/CsvText.cpp src/model/Windows1252.cpp
CsvReaderFuzz csvreader src/import/CsvReader.cpp src/export/CsvText.cpp src/model/Windows1252.cpp
TripvaneArgumentsFuzz arguments $cli
WindowOptionsFuzz window src/platform/WindowProgramOptions.cpp
"
# The trip log's signals need Qt's meta-object code, made here as the build makes it.
/usr/lib/qt6/libexec/moc src/core/TripLog.h -o "$out/moc_TripLog.cpp"
# The targets are built one after the other on a second core while those before them run, each
# leaving a mark (.built or .failed) that the run below waits for.
rm -f "$out"/*.built "$out"/*.failed
(
    echo "$targets" | while read -r target corpus sources; do
        [ -n "$target" ] || continue
        # shellcheck disable=SC2086
        if clang++ $flags -DTRIPVANE_VERSION='"1.0"' $includes $sources "fuzz/$target.cpp" $qt \
            -lsqlite3 -o "$out/$target"; then
            touch "$out/$target.built"
        else
            touch "$out/$target.failed"
            exit 1
        fi
    done
) &
builder=$!
trap 'kill "$builder" 2>/dev/null || true' EXIT
echo "$targets" | while read -r target corpus sources; do
    [ -n "$target" ] || continue
    until [ -e "$out/$target.built" ]; do
        if [ -e "$out/$target.failed" ]; then
            echo "$target did not build"
            exit 1
        fi
        sleep 1
    done
    rm -rf "${out:?}/$corpus" && mkdir -p "$out/$corpus"
    echo "fuzzing $target for $seconds s"
    # A finding is written here even when the target was working in a folder of its own.
    (cd "$out" && "./$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$PWD/" \
        "$corpus" "../fuzz/corpus/$corpus" 2>&1 | tail -n 3) || true
    # A finding leaves its input beside the target.
    found=$(ls "$out" | grep -E '^(crash|leak|timeout|oom)-' || true)
    if [ -n "$found" ]; then
        echo "$target found a fault; its input: $out/$found"
        exit 1
    fi
done
