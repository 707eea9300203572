#!/usr/bin/env bash
# Throwaway MariaDB server for the test suite.
#
#   testdb.sh start DIR   fresh server in DIR on a free port of 127.0.0.1;
#                         writes DIR/port; socket DIR/mysqld.sock; its own
#                         certificate authority DIR/tls/ca.pem. Over TCP it
#                         takes encrypted connections only (require_secure_transport);
#                         root logs in on the socket. The program's account
#                         olimp (from 127.0.0.1 and localhost) holds the role
#                         talvira_program and nothing else: each test database
#                         grants that role the privileges of db/grants.sql.
#   testdb.sh stop DIR    shuts the server down and removes DIR
#   testdb.sh pause DIR   shuts the server down and keeps DIR (a lost server)
#   testdb.sh resume DIR  starts the paused server again on its own port
#
# The data files live in memory (/dev/shm) when there is room, because tests
# create and drop many tables; TALVIRA_TESTDB_TMPFS=0 keeps them in DIR.
# TALVIRA_TESTDB_TLS=0 starts a server without TLS; TALVIRA_TLS_HOST names
# the only host of its certificate (tests of refused servers).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=mariadb-lib.sh
source "$here/mariadb-lib.sh"

MARKER=.talvira-testdb

usage() {
    echo "usage: $0 start|stop|pause|resume DIR" >&2
    exit 2
}

# Removes a server directory of ours, with its data directory in memory.
remove_dir() {
    local dir=$1 target
    if [[ -L "$dir/data" ]]; then
        target=$(readlink "$dir/data")
        case "$target" in
            /dev/shm/talvira-testdb.*) rm -rf -- "$target" ;;
        esac
    fi
    rm -rf -- "$dir"
}

stop_server() {
    local dir=$1
    [[ -d "$dir" ]] || return 0
    [[ -f "$dir/$MARKER" ]] || die "$dir is not a test database directory; not touching it"
    mdb_stop "$dir"
    remove_dir "$dir"
}

start_server() {
    local dir=$1
    if [[ -e "$dir" ]]; then
        if [[ -f "$dir/$MARKER" ]]; then
            note "testdb: removing the server left over in $dir"
            stop_server "$dir"
        elif [[ -d "$dir" && -z "$(ls -A "$dir")" ]]; then
            rmdir "$dir"
        else
            die "$dir exists and is not a test database directory"
        fi
    fi
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    touch "$dir/$MARKER"
    mdb_check_socket_path "$dir"

    if [[ "${TALVIRA_TESTDB_TMPFS:-1}" != 0 && -d /dev/shm && -w /dev/shm ]] &&
       (( $(df -Pk /dev/shm | awk 'NR==2 {print $4}') > 1048576 )); then
        ln -s "$(mktemp -d /dev/shm/talvira-testdb.XXXXXX)" "$dir/data"
    fi
    mdb_init "$dir"

    local port options=""
    if [[ "${TALVIRA_TESTDB_TLS:-1}" != 0 ]]; then
        mdb_make_tls "$dir"
        options="$(mdb_tls_options "$dir") --require-secure-transport=ON"
    fi
    echo "$options" >"$dir/server-options"
    port=$(mdb_free_port)
    # shellcheck disable=SC2086
    mdb_start "$dir" "$port" $options \
        --innodb-log-file-size=16M --innodb-buffer-pool-size=64M \
        --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 \
        --max-connections=500
    mdb_create_user "$dir"
    echo "$port" >"$dir/port.tmp"
    mv "$dir/port.tmp" "$dir/port"
    note "testdb: server on 127.0.0.1:$port, socket $(mdb_socket "$dir")"
}

pause_server() {
    local dir=$1
    [[ -f "$dir/$MARKER" ]] || die "$dir is not a test database directory"
    mdb_stop "$dir"
}

resume_server() {
    local dir=$1
    [[ -f "$dir/$MARKER" && -f "$dir/port" ]] || die "$dir holds no paused test server"
    # shellcheck disable=SC2046
    [[ -z "$(mdb_pid "$dir")" ]] && mdb_start "$dir" "$(cat "$dir/port")" $(cat "$dir/server-options") \
        --innodb-log-file-size=16M --innodb-buffer-pool-size=64M \
        --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 \
        --max-connections=500
    return 0
}

[[ $# -eq 2 ]] || usage
case "$1" in
    start) start_server "$2" ;;
    stop) stop_server "$2" ;;
    pause) pause_server "$2" ;;
    resume) resume_server "$2" ;;
    *) usage ;;
esac
