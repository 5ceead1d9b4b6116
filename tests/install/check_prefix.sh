#!/usr/bin/env bash
# Installs the build into a fresh prefix away from /usr/local and checks it as
# a user would: run paths, a C program linked through wirelink.pc and one
# through the CMake package, both run on the installed simulated bench, and
# the installed rigcheck on it.
#   check_prefix.sh <build dir> <scratch dir> <this folder>
set -euo pipefail
build=$1 work=$2 here=$3
prefix=$work/opt/wl
rm -rf "$work" && mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$prefix/lib
sim=$libdir/wirelink/sim

fail() { echo "FAIL: $*" >&2; exit 1; }

# Run paths relative to the binary, as DT_RUNPATH (LD_LIBRARY_PATH outranks it).
expect_runpath() {
    local dynamic
    dynamic=$(readelf -d "$1")
    grep -q '(RPATH)' <<<"$dynamic" && fail "$1 carries a DT_RPATH"
    grep -qF "Library runpath: [$2]" <<<"$dynamic" || fail "$1: run path is not $2: $dynamic"
}
expect_runpath "$libdir/libwirelink.so" '$ORIGIN'
[ -f "$libdir/libdlportio.so" ] || fail "the real port driver is not beside the library"
[ -f "$sim/libdlportio.so" ] || fail "the simulated bench is not in $sim"

# On the installed simulated bench both expanders answer.
expect_bench_run() {
    local output
    output=$(LD_LIBRARY_PATH=$sim WLSIM_TRACE=1 "$1") || fail "$1 failed: $output"
    grep -q 'i2c: S 72 A 89 A P' <<<"$output" || fail "$1 did not reach the bench: $output"
}

cd "$work"
export PKG_CONFIG_PATH=$libdir/pkgconfig
# shellcheck disable=SC2046  # pkg-config prints several words
cc -o pc_demo "$here/../../examples/bus_demo.c" $(pkg-config --cflags --libs wirelink)
expect_bench_run ./pc_demo

cmake -S "$here/consumer" -B consumer -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build consumer >/dev/null
expect_bench_run consumer/bus_demo

if [ -f "$prefix/bin/rigcheck" ]; then
    expect_runpath "$prefix/bin/rigcheck" '$ORIGIN/../lib'
    status=0
    LD_LIBRARY_PATH=$sim WLSIM_TRACE=1 QT_QPA_PLATFORM=offscreen \
        timeout 3 "$prefix/bin/rigcheck" >rigcheck.log 2>&1 || status=$?
    [ "$status" = 124 ] || fail "installed rigcheck ended with $status: $(cat rigcheck.log)"
    grep -q 'i2c: S 72 A 00 A P' rigcheck.log || fail "installed rigcheck did not reach the bench"
fi
# The Python package, found through PYTHONPATH outside /usr, run away from the
# checkout so that only what the install wrote tells it where the libraries are.
site=$prefix/lib/python3/dist-packages
if [ -f "$site/wirelink/__init__.py" ]; then
    output=$(env -u WIRELINK_BUILD_DIR PYTHONPATH="$site" /usr/bin/python3 -c \
        "import wirelink; print(wirelink.SMBus('sim').read_byte_data(0x48, 0x42))" 2>&1) ||
        fail "the installed Python package failed: $output"
    [ "$output" = 128 ] || fail "the installed Python package read $output, not 128"
    # Installed for /usr, it goes where Debian's python3 looks without help.
    DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
    grep -qF 'LIBDIR = "/usr/lib' "$work/root/usr/lib/python3/dist-packages/wirelink/_installed.py" ||
        fail "a /usr install did not put the package in Debian's dist-packages"
fi
echo "prefix $prefix serves pkg-config, CMake, rigcheck and Python"
