#!/bin/sh
# Installs the dependencies, builds gantrel with its module and nests the bundled example drawing
# with the improving search for one minute (--improve --max-time 1): the result goes to
# sheet-and-parts-nested.dxf and sheet-and-parts-nested.png, the summary to the terminal.
#   GANTREL_BUILD_DIR  build folder (default: build)
set -eu
cd "$(dirname "$0")/.."
build_dir=${GANTREL_BUILD_DIR:-build}
if [ "$(id -u)" = 0 ]; then
    ./scripts/install-deps.sh
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$(nproc)" --target gantrel Gantrel languagepack
"$build_dir/bin/gantrel" nest --seed 1 --improve --max-time 1 -o sheet-and-parts-nested.dxf --png sheet-and-parts-nested.png
echo "wrote sheet-and-parts-nested.dxf and sheet-and-parts-nested.png"
