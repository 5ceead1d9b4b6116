#!/usr/bin/env bash
# Builds wirelink.dll and the COM-port dlportio.dll for 64-bit and for 32-bit
# Windows with Debian's MinGW-w64 toolchains and runs the Windows tests under
# Wine: the export tables, the wire tests through the stand-in dlportio.dll,
# the port driver over an injected serial API (and through it, end to end,
# the bus), and the refusal to load without a dlportio.dll.
#
# The 64-bit tests always run (64-bit Wine, in a win64 prefix of the build's
# own).  32-bit Wine is itself a 32-bit program, which a kernel without
# 32-bit support cannot start: there the 32-bit build is still made and its
# export tables checked (objdump needs no Wine), and its Wine tests are
# counted as skipped.  Installs the toolchains and Wine when missing (as
# root, with apt-get).  Ends with "windows: N passed, M failed" (", K
# skipped" when any were) and exits non-zero when anything failed.
#
#   scripts/windows-tests.sh [build directory for 32 bits, default build/windows]
#   (the 64-bit build goes beside it, into <that directory>64)
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_32=${1:-$source_dir/build/windows}
build_64=${build_32}64

passed=0
failed=0
skipped=0
summary_printed=no
finish() {
    local status=$?
    if [ "$summary_printed" = no ] && [ "$status" -ne 0 ]; then
        echo "windows: $passed passed, $((failed + 1)) failed"
    fi
}
trap finish EXIT

# Runs a tiny static 32-bit x86 program (it exits with 42): the kernel either
# starts it or refuses with "Exec format error".
kernel_runs_32_bit_programs() {
    local program
    program=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\134\0\0\0\134\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\263\52\315\200' >"$program"
    chmod +x "$program"
    local status=0
    "$program" 2>/dev/null || status=$?
    rm -f "$program"
    [ "$status" -eq 42 ]
}

package_installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

install_missing_packages() {
    local missing=()
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "run as root to install them, or install them first" >&2
        exit 1
    fi
    # wine32 is an i386 package.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# build_and_test DIRECTORY TOOLCHAIN WINEARCH [ctest options...]
build_and_test() {
    local build=$1 toolchain=$2 arch=$3
    shift 3
    export WINEPREFIX=$build/wineprefix WINEARCH=$arch
    cmake -S "$source_dir" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DWIRELINK_BUILD_APP=OFF -DWIRELINK_BUILD_PORTIO=ON -DWIRELINK_BUILD_TESTS=ON >/dev/null
    ninja -C "$build" -j "$(nproc)"

    set +e
    ctest --test-dir "$build" --output-on-failure --timeout 900 "$@" | tee "$build/windows-tests.log"
    local ctest_status=${PIPESTATUS[0]}
    set -e
    # Wine leaves its server running a little while; do not leave it behind.
    /usr/lib/wine/wineserver -k 2>/dev/null || true

    # "100% tests passed, 0 tests failed out of 4"
    local counts run_failed total
    counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' \
        "$build/windows-tests.log" | tail -1)
    [ -n "$counts" ] || exit 1
    read -r run_failed total <<<"$counts"
    passed=$((passed + total - run_failed))
    failed=$((failed + run_failed))
    [ "$ctest_status" -eq 0 ] || [ "$run_failed" -gt 0 ] || failed=$((failed + 1))
}

# ctest -N's "Total Tests: 5"
count_tests() {
    ctest --test-dir "$1" -N "${@:2}" | sed -n 's/^Total Tests: \([0-9]*\)$/\1/p'
}

packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 cmake ninja-build)
runs_32_bit=no
if kernel_runs_32_bit_programs; then
    runs_32_bit=yes
    packages+=(wine32:i386)
fi
install_missing_packages "${packages[@]}"

# No display, no debug output, and no offer to install Mono or Gecko when a
# prefix is made.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

echo "== 64-bit Windows ($build_64)"
build_and_test "$build_64" mingw-x86_64.cmake win64

echo "== 32-bit Windows ($build_32)"
if [ "$runs_32_bit" = yes ]; then
    build_and_test "$build_32" mingw-i686.cmake win32
else
    echo "windows: 32-bit Wine tests skipped: this kernel cannot run 32-bit programs"
    build_and_test "$build_32" mingw-i686.cmake win32 -LE wine
    skipped=$(count_tests "$build_32" -L wine)
fi

summary_printed=yes
line="windows: $passed passed, $failed failed"
[ "$skipped" -gt 0 ] && line+=", $skipped skipped"
echo "$line"
[ "$failed" -eq 0 ]
