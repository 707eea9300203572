# shellcheck shell=bash
# Helpers for private MariaDB servers without systemd. Sourced by stack.sh and
# testdb.sh; every function works on a server directory given as its argument:
#
#   DIR/data          the data directory
#   DIR/mysqld.sock   the socket (root logs in here without a password)
#   DIR/mariadbd.pid  the server's pid file
#   DIR/mariadbd.err  the server's log
#
# The callers run with `set -euo pipefail`.

TALVIRA_DB_USER=olimp
TALVIRA_DB_PASSWORD='Kassior-olimp-2026'

# Unix socket paths are limited to 107 bytes.
TALVIRA_SOCKET_MAX=100

die() {
    echo "error: $*" >&2
    exit 1
}

note() {
    echo "$*" >&2
}

mdb_bin() {
    local name=$1 p
    for p in "/usr/sbin/$name" "/usr/bin/$name" "$(command -v "$name" 2>/dev/null || true)"; do
        if [[ -n "$p" && -x "$p" ]]; then
            echo "$p"
            return 0
        fi
    done
    die "$name not found; install the packages with scripts/install-deps.sh"
}

mdb_socket() { echo "$1/mysqld.sock"; }

mdb_check_socket_path() {
    local sock
    sock=$(mdb_socket "$1")
    if (( ${#sock} > TALVIRA_SOCKET_MAX )); then
        die "socket path too long for a Unix socket (${#sock} bytes): $sock"
    fi
}

# Root's client on the server's socket; extra arguments go to the client.
mdb_root() {
    local dir=$1
    shift
    "$(mdb_bin mariadb)" --no-defaults --protocol=socket --socket="$(mdb_socket "$dir")" -uroot "$@"
}

mdb_ping() {
    "$(mdb_bin mariadb-admin)" --no-defaults --protocol=socket --socket="$(mdb_socket "$1")" \
        -uroot --connect-timeout=2 ping >/dev/null 2>&1
}

# Pid of the running server of DIR, or nothing.
mdb_pid() {
    local pidfile="$1/mariadbd.pid" pid
    [[ -f "$pidfile" ]] || return 0
    pid=$(cat "$pidfile" 2>/dev/null || true)
    if [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
        echo "$pid"
    fi
}

mdb_port_free() {
    python3 - "$1" <<'EOF'
import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
try:
    s.bind(("127.0.0.1", int(sys.argv[1])))
except OSError:
    sys.exit(1)
EOF
}

mdb_free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Creates the data directory once.
mdb_init() {
    local dir=$1
    [[ -d "$dir/data/mysql" ]] && return 0
    mkdir -p "$dir"
    [[ -L "$dir/data" ]] || rm -rf "$dir/data"
    if ! "$(mdb_bin mariadb-install-db)" --no-defaults --datadir="$dir/data" --user="$(id -un)" \
            --auth-root-authentication-method=normal --skip-test-db \
            >"$dir/install-db.log" 2>&1; then
        tail -n 20 "$dir/install-db.log" >&2 || true
        die "mariadb-install-db failed (log: $dir/install-db.log)"
    fi
}

# mdb_start DIR PORT [server options...]: starts the server in the background
# and waits until it answers on its socket.
mdb_start() {
    local dir=$1 port=$2
    shift 2
    mdb_check_socket_path "$dir"
    local sock pid
    sock=$(mdb_socket "$dir")
    rm -f "$sock" "$sock.lock"
    : >"$dir/mariadbd.err"
    nohup "$(mdb_bin mariadbd)" --no-defaults \
        --datadir="$dir/data" --socket="$sock" --port="$port" --bind-address=127.0.0.1 \
        --pid-file="$dir/mariadbd.pid" --log-error="$dir/mariadbd.err" \
        --skip-log-bin --skip-name-resolve --user="$(id -un)" \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
        "$@" </dev/null >>"$dir/mariadbd.out" 2>&1 &
    pid=$!
    local i
    for (( i = 0; i < 300; i++ )); do
        if mdb_ping "$dir"; then
            return 0
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            tail -n 20 "$dir/mariadbd.err" >&2 || true
            die "the database server stopped at start (log: $dir/mariadbd.err)"
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    tail -n 20 "$dir/mariadbd.err" >&2 || true
    die "the database server did not answer within 30 s (log: $dir/mariadbd.err)"
}

# Shuts the server down cleanly and waits until its process has ended.
mdb_stop() {
    local dir=$1 pid i
    pid=$(mdb_pid "$dir")
    [[ -n "$pid" ]] || return 0
    "$(mdb_bin mariadb-admin)" --no-defaults --protocol=socket --socket="$(mdb_socket "$dir")" \
        -uroot shutdown >/dev/null 2>&1 || kill -TERM "$pid" 2>/dev/null || true
    for (( i = 0; i < 600; i++ )); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    die "the database server (pid $pid) did not stop within 60 s"
}

# The account of the program: olimp from 127.0.0.1 and localhost.
# mdb_create_user DIR GRANT_TARGET (olimp.* or *.*)
mdb_create_user() {
    local dir=$1 target=$2
    mdb_root "$dir" <<EOF
CREATE USER IF NOT EXISTS '${TALVIRA_DB_USER}'@'127.0.0.1' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
CREATE USER IF NOT EXISTS '${TALVIRA_DB_USER}'@'localhost' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
ALTER USER '${TALVIRA_DB_USER}'@'127.0.0.1' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
ALTER USER '${TALVIRA_DB_USER}'@'localhost' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
GRANT ALL PRIVILEGES ON ${target} TO '${TALVIRA_DB_USER}'@'127.0.0.1';
GRANT ALL PRIVILEGES ON ${target} TO '${TALVIRA_DB_USER}'@'localhost';
FLUSH PRIVILEGES;
EOF
}
