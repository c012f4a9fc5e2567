#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs every test there, widget tests and the package test included: a use after free or an
# undefined operation fails the test that meets it. KRADON_LINTIAN=1 has the package test run
# lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Check -DKRADON_WERROR=ON \
    -DKRADON_SANITIZE=ON -DKRADON_BENCH=OFF >/dev/null
cmake --build build-asan
# Qt and the font libraries keep caches until exit that the leak checker would report; the
# tests without Qt turn it on for themselves.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2
