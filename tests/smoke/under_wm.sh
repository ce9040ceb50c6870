#!/usr/bin/env bash
# Runs a command on the current X display under a real window manager, xfwm4, which frames,
# focuses and minimises windows as a desktop does. It wants a session bus for its settings.
set -u
exec dbus-run-session -- bash -c '
    xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 &
    wm=$!
    # Ready once it has claimed the screen; a guard of a minute, not a speed goal.
    for _ in $(seq 600); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        kill -0 "$wm" 2>/dev/null || { echo "xfwm4 did not start" >&2; exit 1; }
        sleep 0.1
    done
    "$@"
    rc=$?
    kill "$wm" 2>/dev/null
    wait "$wm" 2>/dev/null
    exit "$rc"' under_wm "$@"
