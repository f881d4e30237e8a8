# Starts the real services the system tests use: an X server (Xvfb) and a CUPS
# server whose default printer is a cups-pdf queue. Sourced by ./test; exports
# WARMTEGLOED_TEST_DISPLAY and WARMTEGLOED_PDF_DIR for the tests.

start_xvfb() {
    local display=:99
    if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
        Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/tmp/warmtegloed-xvfb.log 2>&1 &
        for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "Xvfb did not start:" >&2; cat /tmp/warmtegloed-xvfb.log >&2; return 1; }
    export WARMTEGLOED_TEST_DISPLAY=$display
}

# The print server as a fresh Debian machine leaves it without systemd: installed but
# not running, with no queue. Starts it when needed and makes a cups-pdf queue "PDF"
# the default printer, with a renderer whose PDF pdftotext can read back.
start_cups() {
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
        # The init system would have made the socket's folder.
        "${sudo[@]}" mkdir -p /run/cups
        "${sudo[@]}" /usr/sbin/cupsd
        for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    fi
    lpstat -r 2>/dev/null | grep -q 'is running' || { echo "CUPS did not start" >&2; return 1; }
    if ! lpstat -p PDF >/dev/null 2>&1; then
        "${sudo[@]}" lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
    fi
    # Also for a queue the package made on its own when it was installed.
    "${sudo[@]}" lpadmin -p PDF -o pdftops-renderer-default=pdftocairo
    "${sudo[@]}" cupsenable PDF
    "${sudo[@]}" cupsaccept PDF
    "${sudo[@]}" lpadmin -d PDF
    lpstat -d | grep -q 'destination: PDF$' || { echo "PDF is not the default printer" >&2; return 1; }
    # cups-pdf files a page under the home folder that passwd gives the job's user,
    # whatever HOME says.
    local home
    home=$(getent passwd "$(id -un)" | cut -d: -f6)
    export WARMTEGLOED_PDF_DIR="${home:-$HOME}/PDF"
}

start_test_services() {
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/warmtegloed-runtime.XXXXXX)}
    chmod 700 "$XDG_RUNTIME_DIR"
    start_xvfb
    start_cups
}
