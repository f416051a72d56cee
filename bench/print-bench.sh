#!/bin/sh
# tripvane print of every trip against tripvane export trips of the same device (both read and
# check the whole log; print lays out and writes every page), and the peak memory of print on
# this log against print of an empty one: what the pages add beyond the log itself. Each run
# is a fresh process on files read before.
#     sh bench/print-bench.sh BUILD_DIR TRIPS [ROUNDS]
set -e
build=$1
trips=$2
rounds=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tripvane="$build/bin/tripvane"
QT_QPA_PLATFORM=offscreen "$build/bench/start_bench" --prepare "$work/device" "$trips" >/dev/null 2>&1
QT_QPA_PLATFORM=offscreen "$build/bench/start_bench" --prepare "$work/empty" 0 >/dev/null 2>&1
"$tripvane" rates set '*' 0.30 --device "$work/device"
range="--from 1990-01-01 --to 2099-12-31"
"$tripvane" export trips --device "$work/device" -o "$work/warm.csv"

# Milliseconds of one command.
ms() {
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    echo $((($(date +%s%N) - start) / 1000000))
}
# Peak resident kilobytes of one command.
peak() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1
}

echo "$trips trips, $rounds rounds"
for round in $(seq "$rounds"); do
    print_t=$(ms "$tripvane" print $range --device "$work/device" -o "$work/log.pdf")
    export_t=$(ms "$tripvane" export trips --device "$work/device" -o "$work/out.csv")
    echo "round $round: print $print_t ms, export trips $export_t ms"
done
echo "pages: $(pdfinfo "$work/log.pdf" 2>/dev/null | sed -n 's/^Pages: *//p'), PDF $(($(stat -c %s "$work/log.pdf") / 1024)) KiB"
echo "peak memory: print $(peak "$tripvane" print $range --device "$work/device" -o "$work/log.pdf") KiB," \
    "of an empty log $(peak "$tripvane" print $range --device "$work/empty" -o "$work/empty.pdf") KiB," \
    "export trips $(peak "$tripvane" export trips --device "$work/device" -o "$work/out.csv") KiB"
