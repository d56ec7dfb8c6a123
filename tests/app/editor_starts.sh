#!/usr/bin/env bash
# The editor starts on a display of its own (run under xvfb-run) as a user would start it, with a
# fresh home folder: the main window appears and the program keeps running until it is ended.
set -euo pipefail
exe=$1
home=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1
(cd "$home" && exec "$exe") &
pid=$!
for _ in $(seq 1 150); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "qzedit ended during start-up"
        exit 1
    fi
    # The main window's title is "QzEdit", or the product's caption once the game is set up.
    if xwininfo -root -tree | grep -Eq '"QzEdit( - (Korvath|Varnok) mode)?"'; then
        echo "main window up: $(xwininfo -root -tree | grep -Eo '"QzEdit[^"]*"' | sort -u | tr '\n' ' ')"
        sleep 1
        kill -0 "$pid" 2>/dev/null || { echo "qzedit ended after start-up"; exit 1; }
        exit 0
    fi
    sleep 0.2
done
echo "no main window within 30 s"
exit 1
