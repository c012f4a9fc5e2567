#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program with a sample model open.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) the program runs on a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
model="${1:-examples/simply-supported-point-load.kdn}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/kradon "$model"
fi
exec build/kradon "$model"
