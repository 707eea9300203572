#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own:
#   main -> app -> events | applications | ratings | diplomas -> ui -> data -> crypto
# The writers (export) stand apart: they use only base, which every layer may
# use and which uses nothing of the program. The build holds the writers to it
# too (their library sees only export/ and base/); this check says it sooner.
# Tests and tools may include anything.
set -uo pipefail
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)
windows='events|applications|ratings|diplomas'
status=0

check() { # folder, forbidden include pattern, what is forbidden
    local folder=$1 pattern=$2 what=$3 hits
    [ -d "$src/$folder" ] || return 0
    hits=$(grep -rnE --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($pattern)/" "$src/$folder" || true)
    if [ -n "$hits" ]; then
        echo "layers: src/$folder must not include $what:"
        echo "$hits" | sed "s#^$src/#  src/#"
        status=1
    fi
}

for w in events applications ratings diplomas; do
    check "$w" 'app' 'the main window (app/)'
done
check export "app|ui|data|crypto|$windows|\\.\\." 'anything but the writers and base/'
check base "app|ui|data|crypto|export|$windows|\\.\\." 'anything of the program'
check ui "app|$windows" 'the main window or the working windows'
check data "app|ui|$windows" 'anything above the data layer'
check crypto "app|ui|data|$windows" 'anything above the password hashing'

[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
