#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, when
# any is missing.  Usage: scripts/setup.sh [extra packages...]
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config
          libgtest-dev libgmock-dev libbenchmark-dev
          libcli11-dev nlohmann-json3-dev  # the tool: its command line, its --json
          python3-pytest python3-smbus2  # the Python package and its tests
          libftdi1-dev  # FTDI cables in synchronous bit-bang mode (ftdi:SERIAL)
          qt6-base-dev
          tigervnc-standalone-server  # headless rigcheck (scripts/headless.sh)
          "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
