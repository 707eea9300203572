#!/usr/bin/env bash
# Builds the Debian package of the workstation in <repo>/build and checks what
# it holds:
#
#   bash scripts/package.sh     ->  build/talvira_<version>_amd64.deb
#
# Install it with `sudo apt-get install ./build/talvira_<version>_amd64.deb`;
# the servers of a region go into /etc/talvira.conf (see
# /usr/share/doc/talvira/talvira.conf.example).
#
#   TALVIRA_BUILTIN_PASSWORD=OFF bash scripts/package.sh
#
# builds a package that carries no database password at all: each
# installation names its account in /etc/talvira.conf (docs/security.md).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
build=$repo/build

die() { echo "package: $*" >&2; exit 1; }

bash "$here/install-deps.sh"
builtin=${TALVIRA_BUILTIN_PASSWORD:-ON}
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALVIRA_BUILTIN_PASSWORD="$builtin"
cmake --build "$build" -j2
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[[ -n "$version" ]] || die "no version in $build/CPackConfig.cmake"
deb=$build/talvira_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$build" && cpack -G DEB) >&2 || die "cpack failed"
[[ -f "$deb" ]] || die "cpack did not write $deb"

# What an installation needs must be in it.
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/talvira ./usr/bin/talvira_passwd ./usr/share/applications/talvira.desktop \
         ./usr/share/icons/hicolor/48x48/apps/talvira.png ./usr/share/icons/hicolor/256x256/apps/talvira.png \
         ./usr/share/doc/talvira/copyright ./usr/share/doc/talvira/talvira.conf.example; do
    grep -qE " $f\$" <<<"$contents" || die "$deb lacks $f"
done
depends=$(dpkg-deb --field "$deb" Depends)
needed=(libqt6core6 libqt6widgets6 libqt6sql6 libqt6sql6-mysql fonts-liberation fonts-dejavu-core fonts-crosextra-carlito)
# The spreadsheet writer's library, once a window of the program writes workbooks.
if readelf -d "$build/src/talvira" | grep -q 'NEEDED.*libxlsxwriter'; then
    needed+=(libxlsxwriter4)
fi
for p in "${needed[@]}"; do
    grep -qE "(^|, )$p( |,|$)" <<<"$depends" || die "$deb does not depend on $p (Depends: $depends)"
done
# A package without the built-in password must not hold it in any form.
if [[ "$builtin" == OFF ]]; then
    python3 - "$build/src/talvira" <<'EOF' || die "$build/src/talvira still holds the built-in password"
import sys
data = open(sys.argv[1], "rb").read()
sys.exit(1 if "Rhzzpvy4vsptw4979=".encode("utf-16-le") in data else 0)
EOF
fi
echo "$deb"
