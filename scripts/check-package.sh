#!/bin/sh
# The Debian package as a user meets it, on this machine: lintian finds no error, apt installs
# it with what it needs, the programs answer and work from /usr, the installed layout checks
# pass, and apt-get remove leaves none of its files behind. Runs as root on a machine where
# tripvane is not installed otherwise.
#     sh scripts/check-package.sh
set -e
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends lintian >/dev/null
sh scripts/package.sh >/dev/null
deb=$(ls tripvane_*_amd64.deb)
# lintian gives no warning either today; an error fails the stage.
lintian --fail-on error "$deb"
files=$(mktemp)
trap 'rm -f "$files"' EXIT
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' >"$files"
apt-get install -y "./$deb" >/dev/null
on_path=$(grep '^/usr/bin/' "$files" | sort | tr '\n' ' ')
[ "$on_path" = "/usr/bin/mileagelog /usr/bin/tripvane /usr/bin/tripvane-setup " ] ||
    { echo "the package puts on the PATH: $on_path"; exit 1; }
mileagelog --version
tripvane --version
device=$(mktemp -d)
tripvane rates currency EUR --device "$device/new"
tripvane check --device "$device/new"
rm -rf "$device"
sh tests/check-install.sh build /usr
apt-get remove -y tripvane >/dev/null
left=$(while read -r file; do if [ -e "$file" ]; then echo "$file"; fi; done <"$files")
[ -z "$left" ] || { echo "left behind after remove: $left"; exit 1; }
echo "the package installs, works and removes cleanly"
