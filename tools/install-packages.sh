#!/bin/sh
# Installs the Debian packages of packages.txt that are missing, and nothing else.
set -eu
list="$(dirname "$0")/../packages.txt"
missing=""
for pkg in $(grep -v '^#' "$list" | grep -v '^$'); do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $pkg"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
