#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite, runs it again built with
# AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the file and expression readers for a
# bounded time under both sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
ctest --test-dir build --output-on-failure -j2
tools/sanitize.sh
tools/fuzz.sh "${KRADON_FUZZ_SECONDS:-30}"
