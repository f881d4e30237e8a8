# The real services the system tests talk to, started privately and stopped again:
# an X server (Xvfb) on a display number it finds free itself, a session bus with the
# accessibility bus, and a CUPS server of our own (configuration, socket, spool, logs
# and state in one temporary folder) whose default printer is a cups-pdf queue. Nothing
# of the machine's own printing changes: its cupsd, its default printer and its queues
# are left alone.
#
# Sourced by ./test. start_test_services exports for the tests
#   WARMTEGLOED_TEST_DISPLAY  the X display, e.g. :3
#   WARMTEGLOED_PDF_DIR       the folder where the cups-pdf queue files its pages
#   CUPS_SERVER               the private server's socket (libcups, lpstat, Qt use it)
#   DBUS_SESSION_BUS_ADDRESS  a session bus of our own, on which the accessibility bus
#                             launcher of at-spi2-core runs (the screen readers' bus)
# and arranges that stop_test_services runs when the shell exits or is interrupted.
#
# cups-pdf reads its settings from /etc/cups whatever the server's ServerRoot: for the
# device cups-pdf:/NAME from /etc/cups/cups-pdf-NAME.conf, for plain cups-pdf:/ from
# /etc/cups/cups-pdf.conf (which files pages under the passwd home's PDF folder). The
# queue "PDF" therefore gets a device name of its own, and a file
# /etc/cups/cups-pdf-NAME.conf keeps output, spool and log in the temporary folder;
# that file goes again on exit.

WARMTEGLOED_SERVICES_DIR=
WARMTEGLOED_XVFB_PID=
WARMTEGLOED_CUPSD_PID=
WARMTEGLOED_CUPS_PDF_CONF=
WARMTEGLOED_SESSION_BUS_PID=
WARMTEGLOED_A11Y_LAUNCHER_PID=

WARMTEGLOED_AS_ROOT=()
[ "$(id -u)" -ne 0 ] && WARMTEGLOED_AS_ROOT=(sudo)

_as_root() {
    "${WARMTEGLOED_AS_ROOT[@]}" "$@"
}

start_xvfb() {
    local log=$WARMTEGLOED_SERVICES_DIR/xvfb.log fifo=$WARMTEGLOED_SERVICES_DIR/xvfb.display number
    mkfifo "$fifo"
    # -displayfd: Xvfb takes the first free display number and writes it to the pipe.
    # No Unix socket under /tmp/.X11-unix: clients reach it by the abstract one.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten unix 3>"$fifo" >"$log" 2>&1 &
    WARMTEGLOED_XVFB_PID=$!
    read -r -t 20 number <"$fifo" || true
    if [ -z "$number" ] || ! xdpyinfo -display ":$number" >/dev/null 2>&1; then
        echo "Xvfb did not start:" >&2
        cat "$log" >&2
        return 1
    fi
    export WARMTEGLOED_TEST_DISPLAY=:$number
}

start_cups() {
    local dir=$WARMTEGLOED_SERVICES_DIR/cups device
    device=warmtegloed-$(basename "$WARMTEGLOED_SERVICES_DIR" | tr -cd 'A-Za-z0-9')
    mkdir -p "$dir"/{etc,spool/tmp,cache,state,log,pdf,cups-pdf-spool}
    # Filters run as lp: they may pass through the folders, not list them.
    chmod 711 "$WARMTEGLOED_SERVICES_DIR" "$dir"
    chmod 1777 "$dir/spool/tmp"
    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
FileDevice No
EOF
    # Only the socket, no network; every operation allowed to whoever reaches the
    # socket, which lies in a folder only its owner can list.
    cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
Browsing No
WebInterface No
LogLevel warn
DefaultPolicy open
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy open>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    WARMTEGLOED_CUPS_PDF_CONF=/etc/cups/cups-pdf-$device.conf
    _as_root tee "$WARMTEGLOED_CUPS_PDF_CONF" >/dev/null <<EOF
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/cups-pdf-spool
Log $dir/log
EOF

    # Started directly (not through a function), so that the pid is the server's.
    "${WARMTEGLOED_AS_ROOT[@]}" /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" &
    WARMTEGLOED_CUPSD_PID=$!
    export CUPS_SERVER=$dir/cups.sock
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
        echo "The private CUPS server did not start:" >&2
        cat "$dir/log/error_log" >&2 2>/dev/null
        return 1
    fi
    # pdftocairo: a page whose text pdftotext can read back.
    lpadmin -p PDF -E -v "cups-pdf:/$device" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
        -o pdftops-renderer-default=pdftocairo
    lpadmin -d PDF
    lpstat -d | grep -q 'destination: PDF$' || { echo "PDF is not the default printer" >&2; return 1; }
    export WARMTEGLOED_PDF_DIR=$dir/pdf
}

# A session bus of our own and at-spi2-core's launcher of the accessibility bus on it, the
# way a desktop session starts them; the launcher starts the accessibility bus itself (its
# socket in our runtime folder) and that bus starts the registry when a program asks for it.
start_accessibility_bus() {
    local dir=$WARMTEGLOED_SERVICES_DIR/session-bus address=
    mkdir -m 700 "$dir"
    # dbus-daemon may not raise its own file limit when not started by root: it says so and goes on.
    dbus-daemon --session --nofork --address="unix:path=$dir/socket" --print-address=3 \
        3>"$dir/address" >"$dir/log" 2>&1 &
    WARMTEGLOED_SESSION_BUS_PID=$!
    for _ in $(seq 100); do address=$(head -1 "$dir/address" 2>/dev/null) && [ -n "$address" ] && break; sleep 0.1; done
    if [ -z "$address" ]; then
        echo "The private session bus did not start:" >&2
        cat "$dir/log" >&2
        return 1
    fi
    export DBUS_SESSION_BUS_ADDRESS=$address
    DISPLAY=$WARMTEGLOED_TEST_DISPLAY /usr/libexec/at-spi-bus-launcher --launch-immediately >"$dir/a11y.log" 2>&1 &
    WARMTEGLOED_A11Y_LAUNCHER_PID=$!
    for _ in $(seq 100); do
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "The accessibility bus did not start:" >&2
    cat "$dir/a11y.log" >&2
    return 1
}

stop_test_services() {
    set +e # a service already gone must not keep the others running
    # The launcher takes the accessibility bus down with it, and the registry goes with the bus.
    if [ -n "$WARMTEGLOED_A11Y_LAUNCHER_PID" ]; then
        kill "$WARMTEGLOED_A11Y_LAUNCHER_PID" 2>/dev/null
        wait "$WARMTEGLOED_A11Y_LAUNCHER_PID" 2>/dev/null
        WARMTEGLOED_A11Y_LAUNCHER_PID=
    fi
    if [ -n "$WARMTEGLOED_SESSION_BUS_PID" ]; then
        kill "$WARMTEGLOED_SESSION_BUS_PID" 2>/dev/null
        wait "$WARMTEGLOED_SESSION_BUS_PID" 2>/dev/null
        WARMTEGLOED_SESSION_BUS_PID=
    fi
    if [ -n "$WARMTEGLOED_CUPSD_PID" ]; then
        _as_root kill "$WARMTEGLOED_CUPSD_PID" 2>/dev/null
        wait "$WARMTEGLOED_CUPSD_PID" 2>/dev/null
        WARMTEGLOED_CUPSD_PID=
    fi
    if [ -n "$WARMTEGLOED_XVFB_PID" ]; then
        kill "$WARMTEGLOED_XVFB_PID" 2>/dev/null
        wait "$WARMTEGLOED_XVFB_PID" 2>/dev/null
        WARMTEGLOED_XVFB_PID=
    fi
    if [ -n "$WARMTEGLOED_CUPS_PDF_CONF" ]; then
        _as_root rm -f "$WARMTEGLOED_CUPS_PDF_CONF"
        WARMTEGLOED_CUPS_PDF_CONF=
WARMTEGLOED_SESSION_BUS_PID=
WARMTEGLOED_A11Y_LAUNCHER_PID=
    fi
    if [ -n "$WARMTEGLOED_SERVICES_DIR" ]; then
        _as_root rm -rf "$WARMTEGLOED_SERVICES_DIR"
        WARMTEGLOED_SERVICES_DIR=
    fi
}

start_test_services() {
    WARMTEGLOED_SERVICES_DIR=$(mktemp -d "${TMPDIR:-/tmp}/warmtegloed-services.XXXXXX")
    trap 'rc=$?; stop_test_services; exit $rc' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    export XDG_RUNTIME_DIR=$WARMTEGLOED_SERVICES_DIR/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    start_xvfb
    start_cups
    start_accessibility_bus
}
