#!/bin/sh
# tripvane against sqlite3 doing the same work on the same files, interleaved in one run:
# export of every trip (against sqlite3 -csv on the trips view), import of that file into a new
# device (against .import into a plain table of a new database), and a backup (against
# .backup). tripvane checks a store before it reads or copies it, so the references of export
# and backup run the same quick check first. A second import reference, "as records", is
# sqlite3 importing the same trips already encoded as the store keeps them (its records table
# and index): the floor of writing this file format. Each timing is a fresh process of each
# side, on files both have read before.
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
"$tripvane" import --device "$work/imported" --add-categories "$work/trips.csv" >/dev/null
sqlite3 -csv "$work/imported/objectstore.db" \
    "SELECT database, sort_key, properties FROM records WHERE database = (SELECT database
     FROM records GROUP BY database ORDER BY count(*) DESC LIMIT 1)" >"$work/records.csv"
records_schema="CREATE TABLE records(database INTEGER NOT NULL, sort_key INTEGER,
    properties TEXT NOT NULL); CREATE INDEX records_in_order ON records(database, sort_key);"

# Milliseconds of one command.
ms() {
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    echo $((($(date +%s%N) - start) / 1000000))
}

echo "$trips trips, $rounds rounds: tripvane ms / sqlite3 ms"
for round in $(seq "$rounds"); do
    rm -rf "$work/new" "$work/plain.db" "$work/records.db" "$work/copy.db" "$work/plain-copy.db"
    export_t=$(ms "$tripvane" export trips --device "$work/device" -o "$work/out.csv")
    export_s=$(ms sqlite3 -csv "$db" -cmd "PRAGMA quick_check" -cmd ".output $work/out-s.csv" \
        "SELECT * FROM trips")
    import_t=$(ms "$tripvane" import --device "$work/new" --add-categories "$work/trips.csv")
    import_s=$(ms sqlite3 "$work/plain.db" ".import --csv $work/trips.csv trips")
    import_r=$(ms sqlite3 "$work/records.db" "$records_schema" \
        ".import --csv $work/records.csv records")
    backup_t=$(ms "$tripvane" backup --device "$work/device" "$work/copy.db")
    backup_s=$(ms sqlite3 "$db" "PRAGMA quick_check" ".backup $work/plain-copy.db")
    echo "round $round: export $export_t / $export_s, import $import_t / $import_s" \
        "(as records $import_r), backup $backup_t / $backup_s"
done
