#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Safe to run again: the
# package lists are updated and apt-get runs only when something is missing.
set -euo pipefail

PACKAGES=(
    cmake g++ qt6-base-dev qt6-base-dev-tools libqt6sql6-mysql libgl-dev
    mariadb-server mariadb-client libxlsxwriter-dev libcrypt-dev
    fonts-liberation fonts-dejavu-core fonts-crosextra-carlito python3 xvfb xauth
    zlib1g-dev poppler-utils dpkg-dev file openssl
)

missing=()
for p in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if (( ${#missing[@]} == 0 )); then
    echo "install-deps: all packages present" >&2
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        SUDO=(sudo)
    else
        echo "error: missing packages (${missing[*]}) and not running as root" >&2
        exit 1
    fi
else
    SUDO=()
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
