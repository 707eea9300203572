#!/usr/bin/env bash
# Builds the project with its tests in <repo>/build-test and runs them. The
# test suite starts and stops its own private database server.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
build=$repo/build-test

bash "$here/install-deps.sh"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVIRA_BUILD_TESTS=ON
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
