#!/bin/sh
# setup as a user meets it, under a real X server: "Install Now..." hands over to ceappmgr,
# which installs into the device, whose About then has the version; a second setup only
# brings the first forward; with no device the message comes after the wait of about 2.4 s.
#     sh setup-end-to-end.sh <folder of tripvane-setup and mileagelog> [<folder of ceappmgr>
#         [<folder of the .ini files>]]   (in a build all are one folder)
set -eu
programs=$1
helpers=${2:-$1}
inis=${3:-$1}
work=$(mktemp -d)
chmod 700 "$work"
trap 'kill -9 $first $server 2>/dev/null || true; rm -rf "$work"' EXIT
first=""

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
export XDG_CONFIG_HOME="$work/config" TRIPVANE_DEVICE="$work/device"

"$programs/tripvane-setup" --register-manager
grep -q "CEAPPMGR.EXE=$helpers/ceappmgr" "$work/config/Tripvane/desktop-registry" ||
    { echo "the application manager was not registered"; exit 1; }

# The distribution folder, with blanks and a quote in its name, holds the .ini files.
dist="$work/my \"trip\" setup"
mkdir -p "$dist"
cp "$inis"/*.ini "$dist"

# No device yet: message 11 after the wait.
cd "$dist"
"$programs/tripvane-setup" >"$work/log" 2>&1 &
first=$!
window=$(timeout 20 xdotool search --sync --name '^Setup Tripvane PocketPC$' | head -n 1)
xdotool windowfocus --sync "$window"
# A second setup brings the first forward and ends at once.
timeout 10 "$programs/tripvane-setup" || { echo "the second setup did not end at once"; exit 1; }
kill -0 $first || { echo "the first setup ended"; exit 1; }
started=$(date +%s%N)
xdotool key Return
timeout 10 xdotool search --sync --onlyvisible --name '^Connecting Windows CE device' >/dev/null
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Setup Tripvane PocketPC$' | head -n 1)
waited=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$waited" -ge 2300 ] || { echo "the message came after $waited ms, before the wait"; exit 1; }
xdotool windowfocus --sync "$box" key Return
wait $first || true
first=""

# A device, with the identity mileagelog leaves there: the installation goes through.
mkdir -p "$work/device"
printf 'OsMajorVersion=4\nProcessorType=2577\nProcessorArchitecture=5\n' >"$work/device/device-identity"
"$programs/tripvane-setup" >"$work/log" 2>&1 &
first=$!
window=$(timeout 20 xdotool search --sync --name '^Setup Tripvane PocketPC$' | head -n 1)
xdotool windowfocus --sync "$window" key Return
timeout 20 sh -c "while kill -0 $first 2>/dev/null; do sleep 0.1; done"
first=""
# setup ended at once; ceappmgr goes on alone.
for _ in $(seq 100); do
    pgrep -f "$helpers/ceappmgr" >/dev/null || break
    sleep 0.1
done
[ -x "$work/device/Program Files/Tripvane/mileagelog" ] ||
    { echo "ceappmgr did not install mileagelog"; cat "$work/log"; exit 1; }
version=$(sqlite3 -cmd ".timeout 5000" "$work/device/objectstore.db" \
    "SELECT group_concat(value, '.') FROM (SELECT value FROM registry_values
     WHERE path = 'Software\\Velmora\\Tripvane' ORDER BY name)")
[ "$version" = "1.0" ] || { echo "the device registry holds version '$version'"; exit 1; }
echo "setup hands over to ceappmgr, which installs version $version"
