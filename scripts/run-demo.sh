#!/usr/bin/env bash
# Installs what is missing, builds, creates the embedded demo database and its installation file
# (once) under ~/.local/share/almacen, and starts the application on it. Log in as ADMIN / admin.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build=${BUILD_DIR:-build}
data=${ALMACEN_DATA_DIR:-$HOME/.local/share/almacen}
mkdir -p "$data"
db="$data/demo.fdb"
installation="$data/DireccionBd.txt"
if [ ! -f "$db" ]; then
  "$build/src/cli/almacen-cli" demo "$db"
else
  # A demo database of an older version gets the newer tables; its rows stay.
  "$build/src/cli/almacen-cli" create "$db" >/dev/null
fi
if [ ! -f "$installation" ]; then
  # Line 7 of the installation file names the inventory database.
  printf 'Instalacion de demostracion\n\n\n\n\n\n%s\n' "$db" >"$installation"
fi
echo "Base de datos: $db  (usuario ADMIN, clave admin)"
exec "$build/src/app/ui/almacen" --instalacion "$installation" "$@"
