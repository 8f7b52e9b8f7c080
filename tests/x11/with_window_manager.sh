#!/bin/sh
# Runs a command on a fresh virtual X server with a small window manager, so
# windows are framed and placed as on a user's desktop rather than offscreen.
# Exits 77 (skipped) when the X server or the window manager is not installed.
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "$DOVRANE_UNDER_WM" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is not installed: skipped"; exit 77; }
    command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
    command -v twm >/dev/null 2>&1 || { echo "twm is not installed: skipped"; exit 77; }
    DOVRANE_UNDER_WM=1 exec xvfb-run -a -s "-screen 0 1600x1200x24" sh "$here/with_window_manager.sh" "$@"
fi
log=$(mktemp)
LC_ALL=C twm -f "$here/twmrc" 2>"$log" &
wm=$!
sleep 1
if ! kill -0 "$wm" 2>/dev/null; then
    echo "twm did not start:" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
export DOVRANE_WINDOW_MANAGER=twm QT_QPA_PLATFORM=xcb
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
rm -f "$log"
exit $rc
