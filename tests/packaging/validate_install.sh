#!/bin/sh
# Installs the build into a temporary root, as the package does, and checks
# what the desktop sees: the desktop entries and the metainfo pass the freedesktop and
# AppStream validators, and the classic window finds its help where its menu entry
# starts it and where the help hands the document to the viewer.
# Usage: validate_install.sh <build dir> <generated packaging dir> <install prefix>
set -eu
build=$1
generated=$2
prefix=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" >/dev/null

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

apps=$root$prefix/share/applications
[ -f "$apps/nl.warmtegloedvracht.Warmtegloed.desktop" ] || fail "no desktop entry installed"
# The exploration window's files are checked even when its program is not built here.
for entry in "$apps"/*.desktop "$generated/nl.warmtegloedvracht.Verkenning.desktop"; do
    desktop-file-validate "$entry" || fail "desktop-file-validate $(basename "$entry")"
done
for info in "$root$prefix"/share/metainfo/*.metainfo.xml "$generated/nl.warmtegloedvracht.Verkenning.metainfo.xml"; do
    appstreamcli validate --no-net "$info" || fail "appstreamcli validate $(basename "$info")"
done
# The tree as a whole (every launchable names an installed desktop entry); the tool
# reads only a tree under /usr, as the package installs it.
if [ "$prefix" = /usr ]; then
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
fi

# The menu entry starts the window in a folder that holds the help files...
path=$(sed -n 's/^Path=//p' "$apps/nl.warmtegloedvracht.Warmtegloed.desktop")
for name in Hulpschermen.pdf dummy.html; do
    [ -f "$root$path/$name" ] || fail "$name is not in the entry's folder $path"
done
# ...and the help then gives the viewer the bare name in the program's own folder.
program=$(readlink -f "$root$prefix/bin/warmtegloed")
[ -x "$program" ] || fail "$prefix/bin/warmtegloed does not lead to a program"
for name in Hulpschermen.pdf dummy.html; do
    [ -f "$(dirname "$program")/$name" ] || fail "$name is not next to the program $program"
done
[ -x "$root$prefix/bin/warmtegloed-cli" ] || fail "$prefix/bin/warmtegloed-cli is not installed"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "All desktop files valid; the help files lie where the window looks for them."
