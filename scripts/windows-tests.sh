#!/usr/bin/env bash
# Builds wirelink.dll and the COM-port dlportio.dll with Debian's i686
# MinGW-w64 toolchain and runs the Windows tests under Wine: the export
# tables, the wire tests through the stand-in dlportio.dll, the port driver
# over an injected serial API (and through it, end to end, the bus), and the
# refusal to load without a dlportio.dll.  Installs the toolchain and Wine
# when missing (as root, with apt-get).  Ends with "windows: N passed, M failed" (ctest's
# tests) and exits non-zero when anything failed.
#
#   scripts/windows-tests.sh [build directory, default build/windows]
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-$source_dir/build/windows}

summary_printed=no
finish() {
    local status=$?
    if [ "$summary_printed" = no ] && [ "$status" -ne 0 ]; then
        echo "windows: 0 passed, 1 failed"
    fi
}
trap finish EXIT

package_installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

install_missing_packages() {
    local wanted=(g++-mingw-w64-i686 wine wine32:i386 cmake ninja-build)
    local missing=()
    for package in "${wanted[@]}"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "run as root to install them, or install them first" >&2
        exit 1
    fi
    # wine32 is an i386 package.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

install_missing_packages

# A prefix of the build's own, no display, no debug output, and no offer to
# install Mono or Gecko when the prefix is made.
export WINEPREFIX=$build_dir/wineprefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

cmake -S "$source_dir" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWIRELINK_BUILD_APP=OFF -DWIRELINK_BUILD_PORTIO=ON -DWIRELINK_BUILD_TESTS=ON
ninja -C "$build_dir" -j2

set +e
ctest --test-dir "$build_dir" --output-on-failure --timeout 900 | tee "$build_dir/windows-tests.log"
ctest_status=${PIPESTATUS[0]}
set -e
# Wine leaves its server running a little while; do not leave it behind.
wineserver -k 2>/dev/null || true

# "100% tests passed, 0 tests failed out of 4"
counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$build_dir/windows-tests.log" | tail -1)
if [ -z "$counts" ]; then
    exit 1
fi
read -r failed total <<<"$counts"
summary_printed=yes
echo "windows: $((total - failed)) passed, $failed failed"
[ "$ctest_status" -eq 0 ] && [ "$failed" -eq 0 ]
