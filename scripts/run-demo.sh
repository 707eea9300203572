#!/usr/bin/env bash
# Builds the workstation, starts the local database and file server with the
# demo data and runs the program. Demo login: admin@velgrad.example,
# password Talvira2026!. Stop the servers with scripts/stack.sh stop.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
build=$repo/build

bash "$here/install-deps.sh"
# Only what the demo runs: the program and the file server's asset writer (no
# tests, benchmarks or packaging; scripts/test.sh builds everything).
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALVIRA_BUILD_TESTS=OFF
cmake --build "$build" -j2 --target talvira talvira_assets
TALVIRA_ASSETS_TOOL=$build/tools/talvira_assets bash "$here/stack.sh" start

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    cat >&2 <<MSG
The servers are running, but there is no display to show the program on
(neither DISPLAY nor WAYLAND_DISPLAY is set). Run $build/src/talvira from a
graphical session, or log in with X forwarding (ssh -X) and run this script again.
MSG
    exit 1
fi

exec "$build/src/talvira"
