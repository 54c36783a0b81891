#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Safe to run again: it
# installs only what is missing.
set -euo pipefail
packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  firebird-dev firebird3.0-server-core firebird3.0-server firebird3.0-utils
  libgtest-dev libbenchmark-dev
  libxlsxwriter-dev libzip-dev libjpeg-dev
  xvfb xauth imagemagick poppler-utils fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
# As root apt-get runs directly; otherwise through sudo, keeping DEBIAN_FRONTEND.
sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo -E)
echo "Instalando: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
