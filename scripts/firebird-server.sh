#!/usr/bin/env bash
# Starts or stops a Firebird server on loopback for the server-mode tests, with the SYSDBA password
# the tests use (ALMACEN_TEST_PASSWORD, default "vorbantel").
#   scripts/firebird-server.sh start | stop | status
set -euo pipefail
password=${ALMACEN_TEST_PASSWORD:-vorbantel}
secdb=/var/lib/firebird/3.0/system/security3.fdb
datadir=${ALMACEN_TEST_SERVER_DIR:-/tmp/almacen-server-data}
pidfile=/tmp/almacen-firebird.pid
if [ "$(id -u)" -eq 0 ]; then SUDO=""; AS_FB="runuser -u firebird --"; else SUDO="sudo"; AS_FB="sudo -u firebird"; fi

case "${1:-}" in
start)
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then echo "Firebird ya está en marcha"; exit 0; fi
    # The password lives in the security database; set it through the embedded engine before the
    # server opens that file.
    printf "CREATE OR ALTER USER SYSDBA PASSWORD '%s' USING PLUGIN Srp;\nCOMMIT;\n" "$password" |
        $AS_FB isql-fb -q -user SYSDBA "$secdb" >/dev/null
    $SUDO mkdir -p "$datadir"; $SUDO chown firebird:firebird "$datadir"; $SUDO chmod 1777 "$datadir"
    $AS_FB nohup /usr/sbin/firebird >/tmp/almacen-firebird.log 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 1 50); do
        if (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; then
            echo "Firebird escucha en localhost:3050 (datos en $datadir)"; exit 0
        fi
        sleep 0.2
    done
    echo "Firebird no arrancó; ver /tmp/almacen-firebird.log" >&2; exit 1 ;;
stop)
    if [ -f "$pidfile" ]; then $SUDO pkill -f /usr/sbin/firebird || true; rm -f "$pidfile"; fi ;;
status)
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && echo running || echo stopped ;;
*) echo "uso: $0 start|stop|status" >&2; exit 2 ;;
esac
