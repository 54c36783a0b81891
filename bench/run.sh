#!/usr/bin/env bash
# Generates a movement history and measures it: generation throughput against a plain prepared-insert
# loop, the per-item stock and cost reads (median of 20 warm runs), then 10,000 lines posted through
# the line rules against the same lines inserted bare, one transaction per line each.
#   bench/run.sh [LINES] [DATABASE]
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-1000000}
db=${2:-/tmp/almacen-bench-$lines.fdb}
cli=${BUILD_DIR:-build}/src/cli/almacen-cli
rm -f "$db"
"$cli" bench-data "$db" --lines "$lines" --compare-raw
"$cli" bench "$db" --repeat 20
"$cli" bench-lines "$db" --lines 10000
