#!/usr/bin/env bash
# Installs what is missing, builds the whole project once with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test there (among them the one that builds the Debian
# package and has lintian check it: no error, no warning), then fuzzes the file and expression
# readers for a bounded time under both sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
KRADON_LINTIAN=1 tools/sanitize.sh
tools/fuzz.sh "${KRADON_FUZZ_SECONDS:-30}"
