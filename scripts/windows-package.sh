#!/usr/bin/env bash
# Makes build/packages/wirelink-<version>-windows.zip: wirelink.dll and the
# COM-port dlportio.dll for 32-bit programs (win32/) and for 64-bit ones
# (win64/), each with its import library, the header, and a short text on
# which folder to take and how the ports are chosen.  Builds what is missing
# in the Windows build directories of scripts/windows-tests.sh (run that
# first to set up the toolchains), then checks the archive's file list.
#
#   scripts/windows-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

version=$(sed -n 's/^project(wirelink VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=wirelink-$version-windows
packages=$top/build/packages
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# stage_build ARCHITECTURE BUILD TOOLCHAIN: the installed files of one build.
stage_build() {
    local arch=$1 build=$2 toolchain=$3
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DWIRELINK_BUILD_APP=OFF -DWIRELINK_BUILD_PORTIO=ON -DWIRELINK_BUILD_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" --target wirelink dlportio_serial >/dev/null
    cmake --install "$build" --prefix "$stage/install-$arch" >/dev/null
    mkdir -p "$stage/$name/$arch"
    cp "$stage/install-$arch"/bin/{wirelink.dll,dlportio.dll} \
        "$stage/install-$arch/lib/libwirelink.dll.a" "$stage/$name/$arch/"
    "${toolchain_prefix[$arch]}-strip" --strip-debug "$stage/$name/$arch"/*.dll
}
declare -A toolchain_prefix=([win32]=i686-w64-mingw32 [win64]=x86_64-w64-mingw32)
stage_build win32 build/windows mingw-i686.cmake
stage_build win64 build/windows64 mingw-x86_64.cmake

mkdir -p "$stage/$name/include"
cp lib/wirelink.h "$stage/$name/include/"
cp examples/wirelink.ini "$stage/$name/"
[ -f LICENSE ] && cp LICENSE "$stage/$name/LICENSE.txt"
sed "s/@VERSION@/$version/" packaging/windows-README.txt | sed 's/$/\r/' >"$stage/$name/README.txt"

mkdir -p "$packages"
rm -f "$packages/$name.zip"
(cd "$stage" && cmake -E tar cf "$packages/$name.zip" --format=zip "$name")

# The archive holds exactly what a user needs, for both kinds of program.
expected=$(printf '%s\n' "$name/README.txt" "$name/include/wirelink.h" "$name/wirelink.ini" \
    "$name"/win{32,64}/{dlportio.dll,libwirelink.dll.a,wirelink.dll} |
    { [ -f LICENSE ] && cat - <(echo "$name/LICENSE.txt") || cat -; } | sort)
listed=$(cd "$stage" && cmake -E tar tf "$packages/$name.zip" | grep -v '/$' | sort)
if [ "$listed" != "$expected" ]; then
    echo "windows package: $packages/$name.zip holds other files than expected:" >&2
    diff <(echo "$expected") <(echo "$listed") >&2 || true
    exit 1
fi
for arch in win32 win64; do
    format=$("${toolchain_prefix[$arch]}-objdump" -f "$stage/$name/$arch/wirelink.dll" | sed -n 's/.*file format //p')
    case "$arch:$format" in
    win32:pei-i386 | win64:pei-x86-64) ;;
    *)
        echo "windows package: $arch/wirelink.dll is $format" >&2
        exit 1
        ;;
    esac
done
echo "windows package: $packages/$name.zip ($(echo "$listed" | wc -l) files, win32 and win64)"
