#!/bin/sh
# Installs the dependencies, builds gantrel and runs the main job on the bundled example drawing.
#   GANTREL_BUILD_DIR  build folder (default: build)
set -eu
cd "$(dirname "$0")/.."
build_dir=${GANTREL_BUILD_DIR:-build}
if [ "$(id -u)" = 0 ]; then
    ./scripts/install-deps.sh
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$(nproc)" --target gantrel
"$build_dir/bin/gantrel" render examples/sheet-and-parts.dxf -o sheet-and-parts.png
echo "wrote sheet-and-parts.png"
