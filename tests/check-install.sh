#!/bin/sh
# Installs the build into a scratch prefix and checks that everything lands where a Linux
# desktop looks for it, the programs side by side.
set -e
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for path in bin/mileagelog bin/tripvane bin/peghelp bin/setup bin/ceappmgr \
    share/tripvane/PPC2003_ARM.ini share/man/man1/tripvane.1 \
    share/bash-completion/completions/tripvane \
    share/applications/org.tripvane.Tripvane.desktop \
    share/metainfo/org.tripvane.Tripvane.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.tripvane.Tripvane.svg \
    share/icons/hicolor/48x48/apps/org.tripvane.Tripvane.png \
    share/icons/hicolor/256x256/apps/org.tripvane.Tripvane.png; do
    [ -e "$prefix/$path" ] || { echo "missing: $path"; exit 1; }
done
for program in mileagelog tripvane peghelp setup ceappmgr; do [ -x "$prefix/bin/$program" ]; done
# The installed command line runs on its own, and its completion offers the commands.
"$prefix/bin/tripvane" --version >/dev/null
bash -c ". '$prefix/share/bash-completion/completions/tripvane'
    COMP_WORDS=(tripvane ex); COMP_CWORD=1; _tripvane; [ \"\${COMPREPLY[*]}\" = export ]"
echo "installed layout complete"
