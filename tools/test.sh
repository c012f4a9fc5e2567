#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite (which builds the Debian package and
# checks it with lintian: no error, no warning), runs it again built with
# AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the file and expression readers for a
# bounded time under both sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
KRADON_LINTIAN=1 ctest --test-dir build --output-on-failure -j2
tools/sanitize.sh
tools/fuzz.sh "${KRADON_FUZZ_SECONDS:-30}"
