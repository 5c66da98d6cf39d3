#!/bin/sh
# Runs tests/end_to_end_test.py against the real program on a desktop of its
# own: a private X server (Xvfb) on a display number the server picks itself,
# a window manager (openbox), and a private D-Bus session bus on which the
# accessibility bus (AT-SPI) is started on demand, so that the tests can read
# the window from outside the program the way a screen reader does.
#
#   end_to_end_test.sh [--wayland] PROGRAM [unittest arguments, e.g. a test class]
#
# With --wayland the desktop is a Wayland compositor (weston) in a window on
# the private X server instead of the window manager; X input events typed
# into that window reach the Wayland client that has the keyboard focus.
#
# Exits 77 (skipped) when a tool is missing. Everything started here is ended
# on the way out, whether the tests pass, fail, hang or are interrupted.
set -eu

desktop=x11
if [ "${1:-}" = --wayland ]; then
    desktop=wayland
    shift
fi
[ $# -ge 1 ] || { echo "usage: $0 [--wayland] PROGRAM [unittest arguments]" >&2; exit 2; }
program=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
# The interpreter that has the AT-SPI bindings (python3-gi), as the build found it.
python=${PYTHON:-python3}

# The bounds on the whole run; a passing run needs a few seconds.
server_timeout=20   # X server and window manager ready
tests_timeout=120   # the tests themselves

if [ "$desktop" = wayland ]; then shell_tools=weston; else shell_tools="openbox wmctrl"; fi
for tool in Xvfb $shell_tools xdotool xwininfo dbus-daemon /usr/libexec/at-spi-bus-launcher "$python"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is missing" >&2
        exit 77
    fi
done
if ! "$python" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' 2>/dev/null; then
    echo "skipped: the AT-SPI bindings (python3-gi, gir1.2-atspi-2.0) are missing" >&2
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/korvantelo-e2e.XXXXXX")
server_pid=""
wm_pid=""
bus_pid=""
tests_pid=""

cleanup() {
    status=$?
    trap - EXIT HUP INT TERM
    set +e
    # The tests first. timeout passes the signal on to its process group: the
    # tests and every program they started.
    [ -n "$tests_pid" ] && kill "$tests_pid" 2>/dev/null && wait "$tests_pid"
    # weston leads a session of its own; openbox is killed alone.
    if [ "$desktop" = wayland ]; then
        [ -n "$wm_pid" ] && kill -- "-$wm_pid" 2>/dev/null
    else
        [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    fi
    # The session bus runs in a process group of its own, together with the
    # services it started (the accessibility bus and its registry).
    [ -n "$bus_pid" ] && kill -- "-$bus_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_until() {
    tries=$(($1 * 10))
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Nothing from the caller's desktop may leak in.
unset WAYLAND_DISPLAY QT_QPA_PLATFORM AT_SPI_BUS_ADDRESS SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

# The server writes the number of a free display it has taken to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
server_pid=$!
if ! wait_until "$server_timeout" test -s "$work/display"; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=":$(cat "$work/display")"
export DISPLAY

if [ "$desktop" = wayland ]; then
    # Drawn in software, with no screen saver; its socket shows it is ready.
    # In a session of its own, so that the clients it starts (its panel, its
    # on-screen keyboard) end with it.
    setsid weston --backend=x11-backend.so --use-pixman --width=1000 --height=740 --idle-time=0 \
        --socket=korvantelo-test >"$work/weston.log" 2>&1 &
    wm_pid=$!
    if ! wait_until "$server_timeout" test -S "$XDG_RUNTIME_DIR/korvantelo-test"; then
        echo "weston did not start:" >&2
        cat "$work/weston.log" >&2
        exit 1
    fi
    export WAYLAND_DISPLAY=korvantelo-test
else
    openbox >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    if ! wait_until "$server_timeout" wmctrl -m; then
        echo "openbox did not start:" >&2
        cat "$work/openbox.log" >&2
        exit 1
    fi
fi

dbus-daemon --session --fork --print-address=4 --print-pid=5 \
    4>"$work/bus-address" 5>"$work/bus-pid" 2>"$work/dbus.log"
bus_pid=$(cat "$work/bus-pid")
DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus-address")
export DBUS_SESSION_BUS_ADDRESS
# Qt publishes its widgets on the accessibility bus only when asked to.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# -W: the AT-SPI bindings load in a way Python warns about; nothing to act on.
# In the background, so that a signal to this script is handled at once, not
# only when the tests are over.
timeout --kill-after=5 "$tests_timeout" "$python" -W ignore::ImportWarning \
    "$here/end_to_end_test.py" "$program" "$@" &
tests_pid=$!
set +e
wait "$tests_pid"
status=$?
set -e
tests_pid=""
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "the tests did not finish within ${tests_timeout} s" >&2
fi
exit "$status"
