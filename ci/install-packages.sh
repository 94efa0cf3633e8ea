#!/usr/bin/env bash
# Installs the packages of ci/packages.txt that are missing, as root or through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export DEBIAN_FRONTEND=noninteractive
missing=()
while read -r line; do
    name=${line%%#*}
    name=$(echo "$name" | tr -d '[:space:]')
    [ -z "$name" ] && continue
    status=$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$name")
done <"$here/packages.txt"
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
