#!/bin/sh
# Installs the dependencies, builds everything with warnings as errors and runs the tests.
#   GANTREL_BUILD_DIR  build folder (default: build)
#   GANTREL_SANITIZE   1 for an AddressSanitizer + UndefinedBehaviorSanitizer build
set -eu
cd "$(dirname "$0")/.."
build_dir=${GANTREL_BUILD_DIR:-build}
sanitize=${GANTREL_SANITIZE:-0}
if [ "$(id -u)" = 0 ]; then
    ./scripts/install-deps.sh
fi
if [ "$sanitize" = 1 ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGANTREL_WERROR=ON \
        -DGANTREL_SANITIZE=ON
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGANTREL_WERROR=ON
fi
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
