#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Until the desktop program exists this
# runs the command-line front end on a bundled sample model.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
exec build/kradon-cli show examples/simply-supported-point-load.kdn
