#!/bin/sh
# The installed programs as a user meets them: a real X server, real keys typed into whatever
# has the focus. F1 starts peghelp at the section on screen; after New, typing goes into the
# distance; after Ctrl+R "Change Status" is there to click; a termination saves the trip. Then,
# with keys only, a trip is added and edited, the report viewed, the trips exported and the
# program left through its menu.
#     sh desktop-end-to-end.sh <folder of mileagelog> [<folder of peghelp>]
set -eu
programs=$1
helpers=${2:-$1}
work=$(mktemp -d)
chmod 700 "$work"
trap 'kill -9 $app $server 2>/dev/null || true; pkill -f "$helpers/peghelp" || true; rm -rf "$work"' EXIT

# Waits up to five seconds for the main window's caption; $2 says after what.
caption_becomes() {
    for _ in $(seq 50); do
        [ "$(xdotool getwindowname "$window")" = "$1" ] && return 0
        sleep 0.1
    done
    echo "$2: the window's caption stayed '$(xdotool getwindowname "$window")', not '$1'"
    return 1
}

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
export TRIPVANE_DEVICE="$work/device"

"$programs/mileagelog" >"$work/log" 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tripvane$' | head -n 1)
[ -n "$window" ] || { echo "the main window did not show"; cat "$work/log"; exit 1; }
timeout 10 xdotool windowfocus --sync "$window" ||
    { echo "the main window did not take the focus"; exit 1; }

# Without a window manager the program learns of its focus a moment after the server gives it:
# a key before that is no window's shortcut yet, so F1 is pressed once more if nothing started.
help_started() {
    for _ in $(seq 30); do
        pgrep -f "$helpers/peghelp file:tripvaneppc.htm#Navigating" >/dev/null && return 0
        sleep 0.1
    done
    return 1
}
xdotool key F1
help_started || { xdotool key F1 && help_started; } ||
    { echo "F1 did not start peghelp at Navigating"; cat "$work/log"; exit 1; }
pkill -f "$helpers/peghelp"
# Its window lies over the main one until the process has gone: a click before that is its.
for _ in $(seq 50); do pgrep -f "$helpers/peghelp" >/dev/null || break; sleep 0.1; done

# "New" is the first button of the bottom bar.
xdotool mousemove --window "$window" 12 308 click 1
caption_becomes Kilometers "a click on New"
xdotool type --delay 30 '42.5'
xdotool key Tab J Return
caption_becomes Tripvane "the new trip's Enter"

# Wide: the pane fills the window below the 26-pixel top bar; "Change Status" is at (225, 158).
xdotool key ctrl+r
for _ in $(seq 50); do
    [ "$(xdotool getwindowgeometry "$window" | grep -o '[0-9]*x[0-9]*$')" = 320x240 ] && break
    sleep 0.1
done
xdotool mousemove --window "$window" 270 194 click 1
caption_becomes Kilometers "a click on Change Status"
xdotool key Escape
caption_becomes Tripvane "Escape in Change Status"

kill -TERM $app
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
if kill -0 $app 2>/dev/null; then
    echo "mileagelog did not end on SIGTERM"
    exit 1
fi
wait $app || { echo "mileagelog did not end cleanly"; cat "$work/log"; exit 1; }
stored=$(sqlite3 "$work/device/objectstore.db" 'SELECT distance_hundredths, category FROM trips')
[ "$stored" = "4250|Job" ] || { echo "stored: '$stored', expected '4250|Job'"; exit 1; }

# Keys only from here: no pointer event.
"$programs/mileagelog" >"$work/log" 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tripvane$' | head -n 1)
[ -n "$window" ] || { echo "the main window did not show again"; cat "$work/log"; exit 1; }
timeout 10 xdotool windowfocus --sync "$window" || { echo "no focus the second time"; exit 1; }
sleep 0.5
xdotool key ctrl+n
caption_becomes Kilometers "Ctrl+N"
xdotool type --delay 30 '12'
xdotool key Tab S Return
caption_becomes Tripvane "the keyed trip's Enter"
# The list has the focus; the new trip is the chosen row: Enter opens it.
xdotool key End Return
caption_becomes Kilometers "Enter on the chosen trip"
xdotool type --delay 30 '13'
xdotool key Return
caption_becomes Tripvane "Enter in the edited trip"
xdotool key F10 r
caption_becomes Statistics "F10 and R for the report"
xdotool key Return Escape
caption_becomes Tripvane "Escape in the report"
xdotool key F10 Right m
caption_becomes "Export File Options" "F10, Right and M for the export"
xdotool type --delay 30 'Keyed'
xdotool key Return
exported() { find "$work/device/My Documents" -name Keyed.csv | grep -q .; }
for _ in $(seq 50); do exported && break; sleep 0.1; done
exported || { echo "the export wrote no Keyed.csv"; exit 1; }
sleep 0.5
xdotool key Return # the "OK !" box
caption_becomes Tripvane "the export's box"
# Without a window manager nobody gives the focus back when the box's window goes.
timeout 10 xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key F10 e
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && { echo "F10 and E did not end mileagelog"; exit 1; }
wait $app || { echo "mileagelog did not end cleanly the second time"; cat "$work/log"; exit 1; }
stored=$(sqlite3 "$work/device/objectstore.db" \
    'SELECT distance_hundredths, category FROM trips ORDER BY distance_hundredths')
expected=$(printf '1300|Shopping\n4250|Job')
[ "$stored" = "$expected" ] || { echo "stored: '$stored', expected '$expected'"; exit 1; }

# With a window manager: Alt+F4 while the trip dialog is open leaves through the normal exit,
# within a second, and keeps nothing of the unfinished trip.
openbox --startup "touch $work/wm-ready" >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do [ -f "$work/wm-ready" ] && break; sleep 0.1; done
[ -f "$work/wm-ready" ] || { echo "openbox did not start"; exit 1; }
trap 'kill -9 $app $server $wm 2>/dev/null || true; pkill -f "$helpers/peghelp" || true; rm -rf "$work"' EXIT
"$programs/mileagelog" >"$work/log" 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tripvane$' | head -n 1)
[ -n "$window" ] || { echo "the main window did not show under openbox"; cat "$work/log"; exit 1; }
timeout 10 xdotool windowactivate --sync "$window" || { echo "openbox gave no focus"; exit 1; }
xdotool key ctrl+n
caption_becomes Kilometers "Ctrl+N under openbox"
xdotool type --delay 30 '7'
xdotool key alt+F4
for _ in $(seq 10); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && { echo "Alt+F4 under a dialog did not end mileagelog in a second"; exit 1; }
wait $app || { echo "mileagelog did not end cleanly after Alt+F4"; cat "$work/log"; exit 1; }
stored=$(sqlite3 "$work/device/objectstore.db" 'SELECT count(*) FROM trips')
[ "$stored" = 2 ] || { echo "after Alt+F4: $stored trips, expected 2"; exit 1; }
echo "F1, typing after New, the exit, a session from the keyboard and Alt+F4 work under X"
