#!/usr/bin/env bash
# Builds Glidorama and runs every test, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing_packages

jobs=$(nproc)
# Rebuilds of the same sources (CI after a session, two build trees) come
# from the compiler cache, wherever the clone lies.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# CI turns warnings into errors; a local run only shows them.
werror=(-DGLIDORAMA_WERROR="${GLIDORAMA_WERROR:-OFF}")
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${werror[@]}" >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGLIDORAMA_SANITIZE=ON "${launcher[@]}" "${werror[@]}" >/dev/null
cmake --build build-asan -j "$jobs" --target unit_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs" -E '^e2e\.')
