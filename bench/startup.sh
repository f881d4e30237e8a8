#!/usr/bin/env bash
# How long the classic window takes to show, beside a bare Qt window of the same size and
# caption: both started in turn on a private X server (Xvfb), ROUNDS times, each timed
# from its start to its window being mapped, to its first complete picture, and the
# processor time it used by then (which a busy machine moves least). Prints the medians and
# the window's ratios to the bare window (the goal is 1.3 at most), to the bare window
# with one caption, which also starts the font system, as any window with text must, and to
# a form of Qt's stock controls with the window's texts (the floor for this much content),
# whose own ratio to the bare window is printed too.
# The window program is the one in BUILD (default build-run/, as ./run builds it).
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
for yardstick in bare_window captioned_window stock_form; do
    g++ -O2 -std=c++17 -fPIC -o "$work/$yardstick" "bench/startup/$yardstick.cpp" $(pkg-config --cflags --libs Qt6Widgets)
done

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
timed "$work/captioned_window" >/dev/null
timed "$work/stock_form" >/dev/null
timed "$program" >/dev/null
for ((round = 0; round < rounds; round++)); do
    echo "bare $(timed "$work/bare_window")" >>"$work/times"
    echo "captioned $(timed "$work/captioned_window")" >>"$work/times"
    echo "stock $(timed "$work/stock_form")" >>"$work/times"
    echo "window $(timed "$program")" >>"$work/times"
done

median() { # column N of the rows of one program
    awk -v which="$1" -v column="$2" '$1 == which { print $column }' "$work/times" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
row() { # name, then the medians of one program and, with a yardstick, its ratios to it
    local mapped shown cpu
    mapped=$(median "$2" 2)
    shown=$(median "$2" 3)
    cpu=$(median "$2" 4)
    printf '%-34s %12s %14s %10s\n' "$1" "$mapped" "$shown" "$cpu"
}
ratio() { # name, then a program's medians over a yardstick's (default: the window's)
    local of=${3:-window}
    awk -v name="$1" -v a="$(median "$of" 2)" -v b="$(median "$2" 2)" -v c="$(median "$of" 3)" \
        -v d="$(median "$2" 3)" -v e="$(median "$of" 4)" -v f="$(median "$2" 4)" \
        'BEGIN { printf "%-34s %12.2f %14.2f %10.2f\n", name, a / b, c / d, e / f }'
}
printf '%-34s %12s %14s %10s\n' "median of $rounds rounds" "mapped (ms)" "picture (ms)" "cpu (ms)"
row "bare Qt window" bare
row "bare Qt window with a caption" captioned
row "stock controls, same texts" stock
row "warmtegloed" window
ratio "warmtegloed / bare (goal 1.30)" bare
ratio "warmtegloed / with a caption" captioned
ratio "warmtegloed / stock controls" stock
ratio "stock controls / bare" bare stock
