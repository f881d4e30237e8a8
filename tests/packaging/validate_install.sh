#!/bin/sh
# Installs the build into a temporary root, as the package does, and checks
# what the desktop sees: the desktop entries and the metainfo pass the freedesktop and
# AppStream validators, the classic window finds its help where its menu entry
# starts it and where the help hands the document to the viewer, and case files are a
# type of their own that the exploration window opens.
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

# Case files: the exploration window's entry takes one (%f) of the case type, which the
# package registers by name and by contents, with an icon of its own.
explorer=$generated/nl.warmtegloedvracht.Verkenning.desktop
grep -qx 'Exec=warmtegloed-verkenning %f' "$explorer" || fail "the exploration window's entry takes no file (%f)"
grep -qx 'MimeType=application/x-warmtegloed-case;' "$explorer" || fail "the exploration window's entry opens no cases"
mime=$generated/nl.warmtegloedvracht.Verkenning.xml
if [ -f "$apps/nl.warmtegloedvracht.Verkenning.desktop" ]; then
    mime=$root$prefix/share/mime/packages/nl.warmtegloedvracht.Verkenning.xml
    [ -f "$mime" ] || fail "the case files' MIME type is not installed"
    for icon in scalable/mimetypes/application-x-warmtegloed-case.svg \
        48x48/mimetypes/application-x-warmtegloed-case.png; do
        [ -f "$root$prefix/share/icons/hicolor/$icon" ] || fail "the case files' icon $icon is not installed"
    done
fi
database=$root/mime-check/mime
mkdir -p "$database/packages"
cp "$mime" "$database/packages/"
complaints=$(XDG_DATA_DIRS=$root/mime-check update-mime-database "$database" 2>&1) ||
    fail "update-mime-database refuses $(basename "$mime")"
[ -z "$complaints" ] || fail "update-mime-database: $complaints"
grep -q ':application/x-warmtegloed-case:\*\.warmtegloed$' "$database/globs2" || fail "no glob *.warmtegloed"
grep -qx 'application/x-warmtegloed-case application/json' "$database/subclasses" || fail "a case is not JSON"
grep -q 'application/x-warmtegloed-case' "$database/magic" || fail "a case is not known by its contents"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "All desktop files valid; the help files lie where the window looks for them."
