#!/usr/bin/env bash
# Runs a command on the current X display under a real window manager, which frames, focuses and
# minimises windows as a desktop does: xfwm4 (Xfce) or mutter (GNOME's, here as an X11 window
# manager). Both want a session bus for their settings.
#   under_wm.sh xfwm4|mutter command...
set -u
exec dbus-run-session -- bash -c '
    case "$1" in
        xfwm4) xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 & ;;
        mutter) XDG_RUNTIME_DIR=$(mktemp -d) mutter --x11 --replace --sm-disable >/dev/null 2>&1 & ;;
        *) echo "unknown window manager $1" >&2; exit 2 ;;
    esac
    wm=$!
    shift
    # Ready once it has claimed the screen; a guard of a minute, not a speed goal.
    for _ in $(seq 600); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        kill -0 "$wm" 2>/dev/null || { echo "the window manager did not start" >&2; exit 1; }
        sleep 0.1
    done
    "$@"
    rc=$?
    kill "$wm" 2>/dev/null
    wait "$wm" 2>/dev/null
    exit "$rc"' under_wm "$@"
