#!/usr/bin/env bash
# Configures and builds everything (application, command line, tests, benchmarks) with Ninja and ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
# Paths relative to the checkout, so that ccache hits across clones and build folders.
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DALMACEN_WERROR=${ALMACEN_WERROR:-OFF} >/dev/null
ninja -C "$build"
