#!/usr/bin/env bash
# How long the classic window takes to show, beside a bare Qt window of the same size and
# caption: both started in turn on a private X server (Xvfb), ROUNDS times, each timed
# from its start to its first drawing on the screen (and the processor time it used by
# then). Prints the medians and the window's ratio to the bare window; the goal is 1.3 at
# most. The window program is the one in BUILD (default build-run/, as ./run builds it).
#
# Usage: bench/startup.sh [ROUNDS] [BUILD]     (default 31 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-31}
build=${2:-build-run}
program=$(readlink -f "$build/bin/warmtegloed")
[ -x "$program" ] || { echo "startup: no $build/bin/warmtegloed (run ./run, or name a build folder)" >&2; exit 2; }
. tools/packages.sh
install_missing_packages xvfb x11-utils pkg-config gcc g++ qt6-base-dev libxcb1-dev libxcb-damage0-dev

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The timer and the yardstick, built as the window program is: optimised, Qt from the system.
gcc -O2 -Wall -Wextra -o "$work/first_picture" bench/startup/first_picture.c $(pkg-config --cflags --libs xcb xcb-damage)
g++ -O2 -std=c++17 -fPIC -o "$work/bare_window" bench/startup/bare_window.cpp \
    $(pkg-config --cflags --libs Qt6Widgets)

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$work/display" || { echo "startup: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$number
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
# Both see the same desktop: no accessibility bus, no session bus, the C locale.
unset DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON
export LC_ALL=C.UTF-8

# Xvfb drops a connection made right after another client went away, now and then; each
# start therefore waits a moment after the last and is tried again when it was refused.
timed() {
    local attempt
    for attempt in 1 2 3 4 5; do
        sleep 0.3
        "$work/first_picture" "$1" 2>/dev/null && return 0
    done
    echo "startup: $1 could not be timed" >&2
    return 1
}
# One untimed start each, so that both are timed with their files in the page cache.
timed "$work/bare_window" >/dev/null
timed "$program" >/dev/null
for ((round = 0; round < rounds; round++)); do
    echo "bare $(timed "$work/bare_window")" >>"$work/times"
    echo "window $(timed "$program")" >>"$work/times"
done

median() { # column N of the rows of one program
    awk -v which="$1" -v column="$2" '$1 == which { print $column }' "$work/times" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare_shown=$(median bare 3)
window_shown=$(median window 3)
bare_cpu=$(median bare 4)
window_cpu=$(median window 4)
printf '%-28s %12s %12s\n' "median of $rounds rounds" "shown (ms)" "cpu (ms)"
printf '%-28s %12s %12s\n' "bare Qt window" "$bare_shown" "$bare_cpu"
printf '%-28s %12s %12s\n' "warmtegloed" "$window_shown" "$window_cpu"
awk -v a="$window_shown" -v b="$bare_shown" -v c="$window_cpu" -v d="$bare_cpu" \
    'BEGIN { printf "%-28s %12.2f %12.2f   (goal: 1.30 at most)\n", "ratio", a / b, c / d }'
