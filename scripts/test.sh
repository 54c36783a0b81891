#!/usr/bin/env bash
# Installs what is missing, builds, starts a Firebird server on loopback for the server-mode tests,
# runs every test through CTest and stops the server again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build=${BUILD_DIR:-build}
export ALMACEN_TEST_SERVER=${ALMACEN_TEST_SERVER:-localhost}
export ALMACEN_TEST_SERVER_DIR=${ALMACEN_TEST_SERVER_DIR:-/tmp/almacen-server-data}
export ALMACEN_TEST_PASSWORD=${ALMACEN_TEST_PASSWORD:-vorbantel}
started=0
if [ "$(scripts/firebird-server.sh status)" != running ]; then
  scripts/firebird-server.sh start
  started=1
fi
stop() { [ "$started" -eq 1 ] && scripts/firebird-server.sh stop || true; }
trap stop EXIT
ctest --test-dir "$build" -j2 --output-on-failure --timeout 300
