#!/usr/bin/env bash
# Installs what is missing, builds the optimised editor (preset "release", no tests) and starts it.
# Arguments are passed on to qzedit. Without a display (a headless machine) it runs under Xvfb.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh

cmake --preset release
cmake --build --preset release --parallel "$(nproc)"

exe=build/release/src/app/qzedit
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting qzedit under xvfb-run"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$@"
fi
exec "$exe" "$@"
