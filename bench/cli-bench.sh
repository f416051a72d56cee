#!/bin/sh
# tripvane against sqlite3 doing the same work on the same files, interleaved in one run:
# export of every trip (against sqlite3 -csv on the trips view), import of that file into a new
# device (against .import into a plain table of a new database), and a backup (against
# .backup). Each timing is a fresh process of each side, on files both have read before.
#     sh bench/cli-bench.sh BUILD_DIR TRIPS [ROUNDS]
set -e
build=$1
trips=$2
rounds=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tripvane="$build/bin/tripvane"
QT_QPA_PLATFORM=offscreen "$build/bench/start_bench" --prepare "$work/device" "$trips" >/dev/null 2>&1
db="$work/device/objectstore.db"
"$tripvane" export trips --device "$work/device" --encoding utf-8 -o "$work/trips.csv"

# Milliseconds of one command.
ms() {
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    echo $((($(date +%s%N) - start) / 1000000))
}

echo "$trips trips, $rounds rounds: tripvane ms / sqlite3 ms"
for round in $(seq "$rounds"); do
    rm -rf "$work/new" "$work/plain.db" "$work/copy.db" "$work/plain-copy.db"
    export_t=$(ms "$tripvane" export trips --device "$work/device" -o "$work/out.csv")
    export_s=$(ms sqlite3 -csv "$db" "SELECT * FROM trips" -cmd ".output $work/out-s.csv")
    import_t=$(ms "$tripvane" import --device "$work/new" --add-categories "$work/trips.csv")
    import_s=$(ms sqlite3 "$work/plain.db" ".import --csv $work/trips.csv trips")
    backup_t=$(ms "$tripvane" backup --device "$work/device" "$work/copy.db")
    backup_s=$(ms sqlite3 "$db" ".backup $work/plain-copy.db")
    echo "round $round: export $export_t / $export_s, import $import_t / $import_s, backup $backup_t / $backup_s"
done
