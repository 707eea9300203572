#!/usr/bin/env bash
# Builds the project with its tests in <repo>/build-test and runs them. The
# test suite starts and stops its own private database server.
#
#   bash scripts/test.sh              # the suite
#   bash scripts/test.sh --sanitize   # the suite built with AddressSanitizer and
#                                     # UndefinedBehaviorSanitizer, in <repo>/build-sanitize
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
build=$repo/build-test
options=()

case "${1:-}" in
    "") ;;
    --sanitize)
        build=$repo/build-sanitize
        options=(-DTALVIRA_SANITIZE=ON)
        # A finding ends the test program with a failure. Qt's own leaks at exit
        # are not the program's: leak checking stays off.
        export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0:halt_on_error=1}
        export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
        ;;
    *)
        echo "usage: bash scripts/test.sh [--sanitize]" >&2
        exit 2
        ;;
esac

bash "$here/install-deps.sh"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVIRA_BUILD_TESTS=ON "${options[@]}"
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
