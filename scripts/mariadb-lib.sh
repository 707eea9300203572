# shellcheck shell=bash
# Helpers for private MariaDB servers without systemd. Sourced by stack.sh and
# testdb.sh; every function works on a server directory given as its argument:
#
#   DIR/data          the data directory
#   DIR/mysqld.sock   the socket (root logs in here without a password)
#   DIR/mariadbd.pid  the server's pid file
#   DIR/mariadbd.err  the server's log
#   DIR/tls/          its private certificate authority (ca.pem, what clients
#                     trust; ca.key) and server certificate (server.pem, server.key)
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

# Makes the private certificate authority and the server certificate of DIR
# once (DIR/tls). The certificate names 127.0.0.1 and localhost, or only the
# host in TALVIRA_TLS_HOST (a name the tests use to show a refused server).
mdb_make_tls() {
    local dir=$1 tls=$1/tls host=${TALVIRA_TLS_HOST:-} san
    [[ -f "$tls/server.pem" ]] && return 0
    command -v openssl >/dev/null || die "openssl is missing; install the packages with scripts/install-deps.sh"
    if [[ -z "$host" ]]; then
        san="IP:127.0.0.1,DNS:localhost"
        host=127.0.0.1
    elif [[ "$host" =~ ^[0-9.]+$ ]]; then
        san="IP:$host"
    else
        san="DNS:$host"
    fi
    rm -rf "$tls.new"
    mkdir -p "$tls.new"
    chmod 700 "$tls.new"
    (
        cd "$tls.new"
        openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
            -subj "/CN=Talvira private CA $(date +%s%N)" -keyout ca.key -out ca.pem
        openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=$host" -keyout server.key -out server.csr
        printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n' \
            "$san" >server.ext
        openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
            -extfile server.ext -out server.pem
        rm -f server.csr server.ext ca.srl
    ) >"$dir/tls.log" 2>&1 || { cat "$dir/tls.log" >&2; die "making the certificates failed (log: $dir/tls.log)"; }
    chmod 755 "$tls.new"
    chmod 600 "$tls.new/ca.key" "$tls.new/server.key"
    mv "$tls.new" "$tls"
}

# The server options that offer TLS with the certificates of DIR.
mdb_tls_options() {
    local tls=$1/tls
    echo "--ssl-ca=$tls/ca.pem --ssl-cert=$tls/server.pem --ssl-key=$tls/server.key"
}

# The accounts of the program: olimp from 127.0.0.1 and localhost, holding the
# role talvira_program and no privilege of their own. The role gets the
# privileges of db/grants.sql per database (mdb_grant_program).
mdb_create_user() {
    local dir=$1
    mdb_root "$dir" <<EOF
CREATE ROLE IF NOT EXISTS talvira_program;
CREATE USER IF NOT EXISTS '${TALVIRA_DB_USER}'@'127.0.0.1' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
CREATE USER IF NOT EXISTS '${TALVIRA_DB_USER}'@'localhost' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
ALTER USER '${TALVIRA_DB_USER}'@'127.0.0.1' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
ALTER USER '${TALVIRA_DB_USER}'@'localhost' IDENTIFIED BY '${TALVIRA_DB_PASSWORD}';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM '${TALVIRA_DB_USER}'@'127.0.0.1';
REVOKE ALL PRIVILEGES, GRANT OPTION FROM '${TALVIRA_DB_USER}'@'localhost';
GRANT talvira_program TO '${TALVIRA_DB_USER}'@'127.0.0.1';
GRANT talvira_program TO '${TALVIRA_DB_USER}'@'localhost';
SET DEFAULT ROLE talvira_program FOR '${TALVIRA_DB_USER}'@'127.0.0.1';
SET DEFAULT ROLE talvira_program FOR '${TALVIRA_DB_USER}'@'localhost';
FLUSH PRIVILEGES;
EOF
}

# mdb_grant_program DIR DATABASE: the privileges of db/grants.sql on DATABASE
# (its tables must exist).
mdb_grant_program() {
    local dir=$1 db=$2 grants
    grants=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/db/grants.sql
    sed "s/\`olimp\`\./\`$db\`./g" "$grants" | mdb_root "$dir" "$db"
}
