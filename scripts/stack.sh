#!/usr/bin/env bash
# The local servers of the internet profile, for trying the workstation out:
#
#   database server  127.0.0.1:17001, database olimp, user olimp
#   file server      http://127.0.0.1:17002/ (diploma templates, help)
#
#   stack.sh start    starts both (a running one is left alone); the first
#                     start creates the database and loads the demo data
#   stack.sh stop     stops both; the data stays
#   stack.sh status   tells what runs; exit status 0 only when both run
#
# Everything lives in ${XDG_STATE_HOME:-$HOME/.local/state}/talvira. To start
# from scratch, stop and remove that folder. The demo data can be made larger
# on a fresh folder, e.g. TALVIRA_DEMO_ARGS="--pupils 100000 --events 200".
# The asset writer is $TALVIRA_ASSETS_TOOL or <repo>/build/tools/talvira_assets
# (built there when missing).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
# shellcheck source=mariadb-lib.sh
source "$here/mariadb-lib.sh"

DB_PORT=17001
HTTP_PORT=17002
DB_NAME=olimp
STATE=${XDG_STATE_HOME:-$HOME/.local/state}/talvira
DBDIR=$STATE/mariadb
WWW=$STATE/www
HTTP_PID=$STATE/http.pid
HTTP_LOG=$STATE/http.log
DEMO_MARKER=$STATE/demo-loaded

now_ms() {
    local t=${EPOCHREALTIME//[.,]/}
    echo $(( t / 1000 ))
}

usage() {
    echo "usage: $0 start|stop|status" >&2
    exit 2
}

http_pid() {
    local pid
    [[ -f "$HTTP_PID" ]] || return 0
    pid=$(cat "$HTTP_PID" 2>/dev/null || true)
    if [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
        echo "$pid"
    fi
}

http_answers() {
    python3 - "$HTTP_PORT" <<'EOF'
import sys, urllib.request
try:
    urllib.request.urlopen("http://127.0.0.1:%s/help80v3/index.htm" % sys.argv[1], timeout=2).read(1)
except Exception:
    sys.exit(1)
EOF
}

start_database() {
    if mdb_ping "$DBDIR"; then
        note "database server: already running"
    else
        if [[ -n "$(mdb_pid "$DBDIR")" ]]; then
            die "a database server process of $DBDIR exists but does not answer; see $DBDIR/mariadbd.err"
        fi
        mdb_port_free "$DB_PORT" || die "port $DB_PORT is taken by another program"
        mdb_init "$DBDIR"
        mdb_start "$DBDIR" "$DB_PORT"
        note "database server: started on 127.0.0.1:$DB_PORT"
    fi
    mdb_root "$DBDIR" -e "CREATE DATABASE IF NOT EXISTS \`$DB_NAME\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"
    mdb_create_user "$DBDIR" "\`$DB_NAME\`.*"
}

# Loads tables and demo data into a fresh database once. Without the marker
# nothing of ours was loaded completely, so the database is made anew.
load_demo() {
    [[ -f "$DEMO_MARKER" ]] && return 0
    local args=${TALVIRA_DEMO_ARGS:-}
    local sql=$STATE/demo.sql t0 t1 t2
    note "demo data: generating (${args:-default size})"
    t0=$(now_ms)
    # shellcheck disable=SC2086
    python3 "$repo/db/generate_demo.py" $args -o "$sql" \
        || die "the demo data generator failed"
    t1=$(now_ms)
    note "demo data: loading into $DB_NAME"
    mdb_root "$DBDIR" -e "DROP DATABASE IF EXISTS \`$DB_NAME\`; CREATE DATABASE \`$DB_NAME\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"
    cat "$repo/db/schema.sql" "$repo/db/reference.sql" "$sql" | mdb_root "$DBDIR" "$DB_NAME" \
        || die "loading the demo data failed; the next start tries again"
    t2=$(now_ms)
    rm -f "$sql"
    printf 'loaded %s with %s\n' "$(date -Is)" "${args:-default size}" >"$DEMO_MARKER"
    note "demo data: generated in $(( (t1 - t0) / 1000 )).$(( (t1 - t0) % 1000 / 100 )) s," \
        "loaded in $(( (t2 - t1) / 1000 )).$(( (t2 - t1) % 1000 / 100 )) s"
}

assets_tool() {
    local tool=${TALVIRA_ASSETS_TOOL:-}
    if [[ -n "$tool" ]]; then
        [[ -x "$tool" ]] || die "TALVIRA_ASSETS_TOOL=$tool is not an executable"
        echo "$tool"
        return 0
    fi
    tool=$repo/build/tools/talvira_assets
    if [[ ! -x "$tool" ]]; then
        note "file server: building the asset writer in $repo/build"
        if [[ ! -f "$repo/build/CMakeCache.txt" ]]; then
            cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=Release -DTALVIRA_BUILD_TESTS=OFF >&2 \
                || die "configuring $repo/build failed"
        fi
        cmake --build "$repo/build" --target talvira_assets -j2 >&2 \
            || die "building talvira_assets failed"
    fi
    echo "$tool"
}

write_www() {
    # The mark names the templates' size: files of an earlier asset writer
    # (A4 at 300 dpi) are written again.
    [[ -f "$WWW/.complete-a4-200dpi" ]] && return 0
    local tool
    tool=$(assets_tool)
    rm -rf "$WWW.new"
    QT_QPA_PLATFORM=offscreen "$tool" "$WWW.new" 2>"$STATE/assets.log" \
        || { cat "$STATE/assets.log" >&2; die "writing the file server's files failed"; }
    touch "$WWW.new/.complete-a4-200dpi"
    rm -rf "$WWW"
    mv "$WWW.new" "$WWW"
    note "file server: files written to $WWW"
}

start_http() {
    if [[ -n "$(http_pid)" ]]; then
        note "file server: already running"
        return 0
    fi
    mdb_port_free "$HTTP_PORT" || die "port $HTTP_PORT is taken by another program"
    nohup python3 -m http.server --bind 127.0.0.1 --directory "$WWW" "$HTTP_PORT" \
        </dev/null >>"$HTTP_LOG" 2>&1 &
    echo $! >"$HTTP_PID"
    local i
    for (( i = 0; i < 100; i++ )); do
        if http_answers; then
            note "file server: started on http://127.0.0.1:$HTTP_PORT/"
            return 0
        fi
        kill -0 "$(cat "$HTTP_PID")" 2>/dev/null || break
        sleep 0.1
    done
    tail -n 20 "$HTTP_LOG" >&2 || true
    die "the file server did not start (log: $HTTP_LOG)"
}

stop_http() {
    local pid i
    pid=$(http_pid)
    if [[ -z "$pid" ]]; then
        rm -f "$HTTP_PID"
        return 0
    fi
    kill -TERM "$pid" 2>/dev/null || true
    for (( i = 0; i < 50; i++ )); do
        if ! kill -0 "$pid" 2>/dev/null; then
            rm -f "$HTTP_PID"
            note "file server: stopped"
            return 0
        fi
        sleep 0.1
    done
    die "the file server (pid $pid) did not stop"
}

cmd_start() {
    command -v python3 >/dev/null || die "python3 is missing; run scripts/install-deps.sh"
    mdb_bin mariadbd >/dev/null
    mkdir -p "$STATE"
    start_database
    load_demo
    write_www
    start_http
    cat >&2 <<EOF
ready:
  database  127.0.0.1:$DB_PORT, database $DB_NAME, user $TALVIRA_DB_USER
  files     http://127.0.0.1:$HTTP_PORT/Images/ZRT_all.jpg, /help80v3/index.htm
  demo login admin@velgrad.example, password Talvira2026!
  state     $STATE
EOF
}

cmd_stop() {
    stop_http
    if [[ -n "$(mdb_pid "$DBDIR")" ]]; then
        mdb_stop "$DBDIR"
        note "database server: stopped"
    else
        note "database server: not running"
    fi
}

cmd_status() {
    local ok=0
    if mdb_ping "$DBDIR"; then
        echo "database server: running on 127.0.0.1:$DB_PORT (pid $(mdb_pid "$DBDIR"))"
    else
        echo "database server: not running"
        ok=3
    fi
    if [[ -n "$(http_pid)" ]]; then
        echo "file server: running on http://127.0.0.1:$HTTP_PORT/ (pid $(http_pid))"
    else
        echo "file server: not running"
        ok=3
    fi
    if [[ -f "$DEMO_MARKER" ]]; then
        echo "demo data: $(cat "$DEMO_MARKER")"
    else
        echo "demo data: not loaded"
    fi
    return $ok
}

[[ $# -eq 1 ]] || usage
case "$1" in
    start) cmd_start ;;
    stop) cmd_stop ;;
    status) cmd_status ;;
    *) usage ;;
esac
