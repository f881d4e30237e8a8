#!/bin/sh
# Installs the build into a temporary root, as the package does, and checks
# what the desktop sees: the desktop entries and the metainfo pass the freedesktop and
# AppStream validators, the classic window finds its help wherever it is started from, and
# case files are a type of their own that the exploration window opens.
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
# Each screenshot the metainfo shows is one of packaging/screenshots (where the project's
# site publishes them from), at the size the metainfo gives.
screenshots=$(cd "$(dirname "$0")/../../packaging/screenshots" && pwd)
png_size() { # width x height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{ print ($1*16777216 + $2*65536 + $3*256 + $4) "x" ($5*16777216 + $6*65536 + $7*256 + $8) }'
}
for info in "$generated"/*.metainfo.xml; do
    sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\([^/<]*\)</image>.*|\3 \1x\2|p' "$info" |
        while read -r name size; do
            [ -f "$screenshots/$name" ] || { echo "FAIL: $(basename "$info") shows $name, which packaging/screenshots lacks"; continue; }
            [ "$(png_size "$screenshots/$name")" = "$size" ] ||
                echo "FAIL: $(basename "$info") gives $name as $size, it is $(png_size "$screenshots/$name")"
        done
    grep -q '<image type="source"' "$info" || fail "$(basename "$info") shows no screenshot"
done >"$root/screenshots.log"
if grep -q FAIL "$root/screenshots.log"; then
    cat "$root/screenshots.log"
    fail "screenshots"
fi

# The tree as a whole (every launchable names an installed desktop entry); the tool
# reads only a tree under /usr, as the package installs it.
if [ "$prefix" = /usr ]; then
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
fi

# The command on the PATH is a launcher that starts the window in the program's own
# folder, where the help files lie, whatever folder it is called from: started here (its
# folder names rewritten to the temporary root) from a folder of the user's, the process
# it becomes runs the program with that folder as its current directory.
launcher=$root$prefix/bin/warmtegloed
program_dir=$(sed -n "s|^cd '\(.*\)' .*|\1|p" "$launcher")
[ -n "$program_dir" ] || fail "$prefix/bin/warmtegloed changes to no folder"
grep -qx "exec '$program_dir/warmtegloed' \"\$@\"" "$launcher" ||
    fail "$prefix/bin/warmtegloed does not start $program_dir/warmtegloed by its exact path"
for name in Hulpschermen.pdf dummy.html; do
    [ -f "$root$program_dir/$name" ] || fail "$name is not in the program's folder $program_dir"
done
if [ -x "$root$program_dir/warmtegloed" ]; then
    sed "s|'$program_dir|'$root$program_dir|g" "$launcher" >"$root/launcher"
    mkdir -m 700 "$root/home" "$root/runtime"
    (cd "$root/home" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$root/runtime exec sh "$root/launcher") &
    started=$!
    folder=
    for _ in $(seq 50); do
        # The launcher becomes the program (exec): the same process, now in the program's folder.
        [ "$(readlink "/proc/$started/exe")" = "$root$program_dir/warmtegloed" ] &&
            folder=$(readlink "/proc/$started/cwd") && break
        sleep 0.1
    done
    kill "$started" 2>/dev/null
    wait "$started" 2>/dev/null || true
    [ "$folder" = "$root$program_dir" ] ||
        fail "started from a home folder, the window runs in '${folder:-?}', not in $program_dir"
else
    fail "$program_dir/warmtegloed is not installed"
fi
[ -x "$root$prefix/bin/warmtegloed-cli" ] || fail "$prefix/bin/warmtegloed-cli is not installed"

# No program looks for libraries in a folder of its own choosing: an installed one names no
# search path at all, and one in the build tree no empty (current-folder) or relative entry.
search_paths() {
    readelf -d "$1" 2>/dev/null | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p'
}
for program in "$root$prefix/bin/warmtegloed-cli" "$root$prefix/bin/warmtegloed-verkenning" \
    "$root$prefix/libexec/warmtegloed/warmtegloed"; do
    [ -f "$program" ] || continue
    paths=$(search_paths "$program")
    [ -z "$paths" ] || fail "${program#"$root"} searches $paths for libraries"
done
for program in "$build"/bin/*; do
    [ -f "$program" ] && [ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    paths=$(search_paths "$program")
    [ -n "$paths" ] || continue
    old_ifs=$IFS
    IFS=:
    # The ":/" after the list lets a last empty entry count as one.
    for entry in $paths:/; do
        case $entry in
        /* | '$ORIGIN'*) ;;
        '')
            fail "$(basename "$program") searches the current folder for libraries ([$paths])"
            break
            ;;
        *)
            fail "$(basename "$program") searches the relative folder '$entry' for libraries"
            break
            ;;
        esac
    done
    IFS=$old_ifs
done
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
echo "All desktop files valid; the window starts beside its help files from any folder."
