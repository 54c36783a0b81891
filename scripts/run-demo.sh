#!/usr/bin/env bash
# Installs what is missing, builds, and creates the embedded demo database (once) under
# ~/.local/share/almacen/demo.fdb, then shows what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build=${BUILD_DIR:-build}
data=${ALMACEN_DATA_DIR:-$HOME/.local/share/almacen}
mkdir -p "$data"
db="$data/demo.fdb"
if [ ! -f "$db" ]; then
  "$build/src/cli/almacen-cli" demo "$db"
else
  echo "Base de datos de demostración: $db"
fi
