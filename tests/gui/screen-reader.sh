#!/bin/sh
# What a screen reader hears: the built program under a real X server with a session bus and
# the accessibility registry, its tree read through AT-SPI at zoom 1 and 2 (screen-reader.py),
# the help viewer's too.
#     sh screen-reader.sh <folder of mileagelog, peghelp and tripvane>
set -eu
programs=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
chmod 700 "$work"
trap 'kill -9 $server 2>/dev/null || true; rm -rf "$work"' EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
export TRIPVANE_DEVICE="$work/device" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_CONFIG_HOME="$work/config"

# Three trips, so that the lists have rows to read.
printf '%s\n' 'Date,Category,Mileage,Start.Place,Destination,Memo' \
    '2005-10-01,Job,1.00,Home,Work,' '2005-10-02,Shopping,2.50,Home,Mall,' \
    '2005-10-03,Job,3.00,Work,Home,a memo' >"$work/trips.csv"
"$programs/tripvane" import --device "$work/device" --add-categories "$work/trips.csv" >/dev/null

qt=$(dpkg-query -W -f '${Version}' libqt6gui6 2>/dev/null | cut -d+ -f1)
status=0
for zoom in 1 2; do
    QT_SCALE_FACTOR=$zoom dbus-run-session -- sh -c '
        "$1/mileagelog" >"$2/log" 2>&1 &
        app=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Tripvane$" | head -n 1)
        [ -n "$window" ] || { echo "the main window did not show"; cat "$2/log"; exit 1; }
        timeout 10 xdotool windowfocus --sync "$window" || true
        sleep 1
        WINDOW=$window /usr/bin/python3 "$3/screen-reader.py" "$4" "$5"
        result=$?
        pkill -f "$1/peghelp" 2>/dev/null
        kill $app 2>/dev/null
        wait $app 2>/dev/null
        exit $result' sh "$programs" "$work" "$here" "$zoom" "${qt:-6.4}" || status=1
done
exit $status
