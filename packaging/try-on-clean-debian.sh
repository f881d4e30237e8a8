#!/usr/bin/env bash
# Tries the Debian package on a clean Debian 12: makes a fresh minimal root with
# debootstrap, installs the package there with apt (so its dependencies must resolve
# from Debian alone), runs warmtegloed-cli, starts the window programs offscreen as
# their menu entries do, and presses F1 in the real window, started from a terminal in
# the home folder, on a private X server with a recording PDF viewer registered. Then it
# builds the package again from the same sources in that root (another folder, another
# system) and compares the two packages byte for byte. Needs root and a Debian mirror;
# takes minutes (the rebuild most of them). Not part of ./test.
#
# Usage: sudo packaging/try-on-clean-debian.sh [warmtegloed_<version>_amd64.deb]
# WARMTEGLOED_TRY_CACHE names a folder where debootstrap keeps its downloads between runs;
# WARMTEGLOED_TRY_REBUILD=0 leaves the rebuild out. The package should be ./package's
# build of the sources as they are now.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

deb=${1:-}
if [ -z "$deb" ]; then
    debs=("$here"/build-deb/warmtegloed_*_amd64.deb)
    deb=${debs[0]}
fi
[ -f "$deb" ] || { echo "try: no package $deb (run ./package first)" >&2; exit 2; }
deb=$(readlink -f "$deb")
[ "$(id -u)" -eq 0 ] || { echo "try: debootstrap and chroot need root" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "try: install debootstrap" >&2; exit 2; }

# The mirror this machine's apt uses for Debian itself.
mirror=
security=
if [ -d /etc/apt/sources.list.d ]; then
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        uris=$(awk -v key=URIs: '$1 == key { for (i = 2; i <= NF; i++) print $i }' "$sources")
        for uri in $uris; do
            case $uri in
            */debian-security*) security=${security:-$uri} ;;
            */debian|*/debian/) mirror=${mirror:-${uri%/}} ;;
            esac
        done
    done
fi
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
    mirror=$(awk '$1 == "deb" && $3 ~ /^bookworm$/ { print $2; exit }' /etc/apt/sources.list)
fi
mirror=${mirror:-http://deb.debian.org/debian}

root=$(mktemp -d /var/tmp/warmtegloed-try.XXXXXX)
# What the programs started from here print, outside the root and gone with it.
logs=$(mktemp -d /var/tmp/warmtegloed-try-logs.XXXXXX)
mounted=()
cleanup() {
    local i
    # Programs still running inside would keep the mounts busy.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null || true
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
    done
    rm -rf "$logs"
    if ! grep -q " $root" /proc/mounts; then
        rm -rf "$root"
    else
        echo "try: $root still has mounts; left in place" >&2
    fi
}
trap cleanup EXIT
mount_in() {
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounted+=("$root$2")
}
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}
step() { echo "== $*"; }

step "debootstrap bookworm (minbase) from $mirror"
cache=()
if [ -n "${WARMTEGLOED_TRY_CACHE:-}" ]; then
    mkdir -p "$WARMTEGLOED_TRY_CACHE"
    cache=(--cache-dir="$(readlink -f "$WARMTEGLOED_TRY_CACHE")")
fi
debootstrap --variant=minbase "${cache[@]}" bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"

{
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -n "$security" ] && echo "deb $security bookworm-security main"
} >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No services start inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
mount_in proc /proc -t proc
mount_in sysfs /sys -t sysfs
mount_in /dev /dev --bind
# Nothing mounted below the root's /dev may show up in the machine's own /dev.
mount --make-rslave "$root/dev"
mount_in tmpfs /tmp -t tmpfs -o mode=1777

step "apt install ./$(basename "$deb") (without recommended packages: Depends must suffice)"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$deb")" >"$logs/apt.log" 2>&1 ||
    { tail -30 "$logs/apt.log" >&2; exit 1; }
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' warmtegloed
echo "$(in_root dpkg-query -W -f='${binary:Package}\n' | wc -l) packages installed in the root"

failures=0
check() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

step "warmtegloed-cli"
cli_output=$(in_root warmtegloed-cli 2>&1) || true
echo "$cli_output"
figures=$(echo "$cli_output" | sed -n 's/.*, \([0-9.]*\) kW\/m²$/\1/p' | tr '\n' ' ')
check "default figures 38.14 44.17 44.76 41.72 36.73" [ "$figures" = "38.14 44.17 44.76 41.72 36.73 " ]
check "warmtegloed-cli --help exits 0" in_root sh -c 'warmtegloed-cli --help >/dev/null'

# A desktop entry's command and working folder, started as a menu would start it.
entry_field() { sed -n "s/^$2=//p" "$root/usr/share/applications/$1.desktop" | head -1; }
stays_up() {
    local entry=$1 exec path pid
    exec=$(entry_field "$entry" Exec)
    path=$(entry_field "$entry" Path)
    chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR=/tmp/runtime sh -c "cd '${path:-/root}' && exec $exec" >"$logs/$entry.log" 2>&1 &
    pid=$!
    sleep 5
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        echo "   $exec in ${path:-/root}: up after 5 s, stopped"
        return 0
    fi
    echo "   $exec ended early:"
    cat "$logs/$entry.log"
    return 1
}
step "window programs offscreen, from their desktop entries"
mkdir -p -m 700 "$root/tmp/runtime"
check "nl.warmtegloedvracht.Warmtegloed starts and stays up" stays_up nl.warmtegloedvracht.Warmtegloed
if [ -f "$root/usr/share/applications/nl.warmtegloedvracht.Verkenning.desktop" ]; then
    check "nl.warmtegloedvracht.Verkenning starts and stays up" stays_up nl.warmtegloedvracht.Verkenning
else
    echo "   (no warmtegloed-verkenning in this package)"
fi

step "F1 in the window started from a terminal in the home folder, on Xvfb, with a recording PDF viewer"
# The test tools come after the checks above, so that they cannot stand in for a
# missing dependency of the package.
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xdotool xdg-utils >"$logs/apt.log" 2>&1 ||
    { tail -30 "$logs/apt.log" >&2; exit 1; }
mkdir -p "$root/tmp/f1/data/applications" "$root/tmp/f1/config"
cat >"$root/tmp/f1/viewer" <<'VIEWER'
#!/bin/sh
# Writes down where it was started and what it was asked to open.
{
    echo "folder=$(pwd)"
    echo "argument=$1"
    if [ -f "$1" ] && [ "$(head -c 5 "$1")" = "%PDF-" ]; then echo "document=pdf"; else echo "document=missing"; fi
} >/tmp/f1/record.tmp
mv /tmp/f1/record.tmp /tmp/f1/record
VIEWER
chmod +x "$root/tmp/f1/viewer"
cat >"$root/tmp/f1/data/applications/recording-viewer.desktop" <<'ENTRY'
[Desktop Entry]
Type=Application
Name=Recording viewer
Exec=/tmp/f1/viewer %f
MimeType=application/pdf;
NoDisplay=true
ENTRY
xdg_env=(XDG_DATA_HOME=/tmp/f1/data XDG_CONFIG_HOME=/tmp/f1/config XDG_RUNTIME_DIR=/tmp/runtime)
in_root env "${xdg_env[@]}" XDG_DATA_DIRS=/tmp/f1/data:/usr/share xdg-mime default recording-viewer.desktop application/pdf
echo "   xdg-mime query default application/pdf: $(in_root env "${xdg_env[@]}" xdg-mime query default application/pdf)"

display=:$((120 + RANDOM % 80))
chroot "$root" /usr/bin/Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$logs/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -S "$root/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.2
done
# As a user types it: `cd ~ && warmtegloed`.
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="$display" "${xdg_env[@]}" \
    sh -c 'cd ~ && exec warmtegloed' >"$logs/window.log" 2>&1 &
window_pid=$!
window=$(in_root env DISPLAY="$display" timeout 30 xdotool search --sync --onlyvisible --class warmtegloed | head -1) || true
if [ -n "$window" ]; then
    echo "   window $window: \"$(in_root env DISPLAY="$display" xdotool getwindowname "$window")\""
    in_root env DISPLAY="$display" xdotool windowfocus --sync "$window"
    in_root env DISPLAY="$display" xdotool key F1
    for _ in $(seq 50); do
        [ -f "$root/tmp/f1/record" ] && break
        sleep 0.2
    done
fi
record=$(cat "$root/tmp/f1/record" 2>/dev/null || true)
echo "$record" | sed 's/^/   viewer: /'
check "F1 starts the registered viewer" [ -n "$record" ]
check "the viewer gets Hulpschermen.pdf and finds the PDF in its folder" \
    grep -qx 'document=pdf' <<<"$record"
check "the argument is the bare name" grep -qx 'argument=Hulpschermen.pdf' <<<"$record"
kill "$window_pid" "$xvfb_pid" 2>/dev/null || true
wait "$window_pid" "$xvfb_pid" 2>/dev/null || true
[ -s "$logs/window.log" ] && sed 's/^/   window: /' "$logs/window.log" | head -10

if [ "${WARMTEGLOED_TRY_REBUILD:-1}" != 0 ]; then
    step "./package again from the same sources in the clean root, compared byte for byte"
    # The files git knows, as they are in the working tree: what ./package built from.
    mkdir -p "$root/src"
    git -C "$here" ls-files -z | (cd "$here" && tar --null -T - -cf -) | tar -xf - -C "$root/src"
    # The root reaches the registries (npm's too) as this machine does: it trusts the
    # certificate authorities this machine added to its own store, such as a proxy's.
    if compgen -G '/usr/local/share/ca-certificates/*.crt' >/dev/null; then
        in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            ca-certificates >"$logs/certificates.log" 2>&1
        mkdir -p "$root/usr/local/share/ca-certificates"
        cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
        in_root update-ca-certificates >>"$logs/certificates.log" 2>&1
    fi
    if in_root env NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt sh -c 'cd /src && ./package' \
        >"$logs/rebuild.log" 2>&1; then
        rebuilt=$root/src/build-deb/$(basename "$deb")
        echo "   here:    $(sha256sum <"$deb" | cut -c1-64)"
        echo "   rebuilt: $(sha256sum <"$rebuilt" | cut -c1-64)"
        check "the package built in /src of the clean root is the same to the byte" cmp "$deb" "$rebuilt"
    else
        tail -30 "$logs/rebuild.log" | sed 's/^/   package: /'
        check "./package runs in the clean root" false
    fi
fi

if [ "$failures" -ne 0 ]; then
    echo "== $failures check(s) FAILED"
    exit 1
fi
echo "== all checks passed on a clean Debian 12"
