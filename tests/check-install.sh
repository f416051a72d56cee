#!/bin/sh
# Installs the build into a scratch prefix and checks that everything lands where a Linux
# desktop looks for it: one name per program on the PATH, the helpers in libexec/tripvane, and
# the installed programs finding each other (F1's viewer, the installer's hand-over) as a user
# meets them.
#     sh check-install.sh BUILD_DIR [PREFIX]   (with PREFIX: check a tree installed there)
set -e
build=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "${2:-}" ]; then
    prefix=$2
else
    prefix=$(mktemp -d)
    trap 'rm -rf "$prefix"' EXIT
    cmake --install "$build" --prefix "$prefix" >/dev/null
fi
for path in bin/mileagelog bin/tripvane bin/tripvane-setup libexec/tripvane/peghelp \
    libexec/tripvane/ceappmgr share/tripvane/PPC2003_ARM.ini share/man/man1/tripvane.1.gz \
    share/man/man1/mileagelog.1.gz share/man/man1/tripvane-setup.1.gz \
    share/bash-completion/completions/tripvane \
    share/applications/org.tripvane.Tripvane.desktop \
    share/metainfo/org.tripvane.Tripvane.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.tripvane.Tripvane.svg \
    share/icons/hicolor/48x48/apps/org.tripvane.Tripvane.png \
    share/icons/hicolor/256x256/apps/org.tripvane.Tripvane.png; do
    [ -e "$prefix/$path" ] || { echo "missing: $path"; exit 1; }
done
if [ -z "${2:-}" ]; then
    on_path=$(ls "$prefix/bin" | tr '\n' ' ')
    [ "$on_path" = "mileagelog tripvane tripvane-setup " ] || { echo "bin/ holds: $on_path"; exit 1; }
fi
# Each program answers --version without a display, and the window programs refuse what they
# do not know.
for program in mileagelog tripvane tripvane-setup; do
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/$program" --version |
        grep -q "^$program 1\." || { echo "$program --version"; exit 1; }
done
status=0
env -u DISPLAY "$prefix/bin/mileagelog" --no-such-option >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || { echo "mileagelog --no-such-option ended with $status, not 2"; exit 1; }
# The completion offers the commands.
bash -c ". '$prefix/share/bash-completion/completions/tripvane'
    COMP_WORDS=(tripvane ex); COMP_CWORD=1; _tripvane; [ \"\${COMPREPLY[*]}\" = export ]"
# The window programs tell Qt the installed desktop entry's name, for the compositor.
entry=$(basename "$(grep -l '^Exec=mileagelog' "$prefix"/share/applications/*.desktop)" .desktop)
for program in mileagelog tripvane-setup; do
    strings -el "$prefix/bin/$program" | grep -qx "$entry" || { echo "$program does not name $entry"; exit 1; }
done
# The installed programs find their helpers: F1's viewer, the installer's application manager.
sh "$here/gui/desktop-end-to-end.sh" "$prefix/bin" "$prefix/libexec/tripvane" >/dev/null
sh "$here/setup/setup-end-to-end.sh" "$prefix/bin" "$prefix/libexec/tripvane" \
    "$prefix/share/tripvane" >/dev/null
echo "installed layout complete"
