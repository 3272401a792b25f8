#!/usr/bin/env bash
# Builds Glidorama and runs every test, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing_packages

source scripts/build_settings.sh

jobs=$(nproc)
configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

configure_build build-asan -DCMAKE_BUILD_TYPE=Debug -DGLIDORAMA_SANITIZE=ON
cmake --build build-asan -j "$jobs" --target unit_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs" -E '^e2e\.')
