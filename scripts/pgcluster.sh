#!/bin/sh
# A throwaway PostgreSQL cluster in a folder of its own, reached through a Unix socket in
# that folder (no TCP port), for the tests and the benchmark.
#
#   pgcluster.sh start FOLDER   creates the cluster if needed and starts it; prints the URI
#   pgcluster.sh restart FOLDER removes whatever an earlier run left there, then starts
#   pgcluster.sh stop FOLDER    stops it and removes the folder
#   pgcluster.sh down FOLDER    stops the server (fast: sessions are ended), keeps the cluster
#   pgcluster.sh up FOLDER      starts the server of a cluster that is down again
#
# The server refuses to run as root, so under root it runs as the unprivileged user nobody,
# which owns the folder. Its superuser is "tradebook", trusted on the socket only.
set -eu

action=${1:-}
folder=${2:-}
if [ -z "$action" ] || [ -z "$folder" ]; then
    echo "usage: $0 start|restart|stop|down|up FOLDER" >&2
    exit 2
fi

bindir=
for candidate in /usr/lib/postgresql/*/bin; do
    [ -x "$candidate/pg_ctl" ] && bindir=$candidate
done
if [ -z "$bindir" ]; then
    echo "PostgreSQL is not installed (Debian package postgresql)" >&2
    exit 1
fi

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- "$@"
    else
        "$@"
    fi
}

start() {
    mkdir -p "$folder"
    folder=$(CDPATH= cd -- "$folder" && pwd)
    [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$folder"
    chmod 700 "$folder"
    if [ ! -f "$folder/data/PG_VERSION" ]; then
        as_owner "$bindir/initdb" -D "$folder/data" -U tradebook -A trust -E UTF8 \
            --locale=C.UTF-8 --lc-collate=C >"$folder/initdb.log" 2>&1 || {
            cat "$folder/initdb.log" >&2
            exit 1
        }
    fi
    up
    echo "postgresql://tradebook@/postgres?host=$folder"
}

up() {
    folder=$(CDPATH= cd -- "$folder" && pwd)
    # Throwaway data: durability is not needed, speed is.
    as_owner "$bindir/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-c listen_addresses='' -k $folder -c fsync=off -c synchronous_commit=off \
            -c full_page_writes=off -c max_connections=40 -c shared_buffers=64MB" \
        start >/dev/null || {
        cat "$folder/server.log" >&2
        exit 1
    }
}

down() {
    as_owner "$bindir/pg_ctl" -D "$folder/data" -m fast -w -t 60 stop >/dev/null
}

stop() {
    [ -d "$folder" ] || return 0
    if [ -f "$folder/data/postmaster.pid" ]; then
        as_owner "$bindir/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null || true
    fi
    # Only a folder this script made goes: a mistyped FOLDER must never cost anything else.
    for entry in "$folder"/* "$folder"/.[!.]*; do
        [ -e "$entry" ] || continue
        case "${entry##*/}" in
            data|initdb.log|server.log|.s.PGSQL.*) ;;
            *) echo "$folder holds more than a cluster of this script's; left as it is" >&2
               return 1 ;;
        esac
    done
    rm -rf "$folder"
}

case "$action" in
    start) start ;;
    restart) stop; start ;;
    stop) stop ;;
    down) down ;;
    up) up ;;
    *) echo "usage: $0 start|restart|stop|down|up FOLDER" >&2; exit 2 ;;
esac
