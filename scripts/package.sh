#!/usr/bin/env bash
# Builds the Debian packages from the install rules, into build/packages:
#   libwirelink0, libwirelink-dev, wirelink-tools, rigcheck, wirelink-sim
# (and python3-wirelink once the Python package exists), named as Debian names
# them: <name>_<version>-<revision>_<architecture>.deb.  Install them with
#   sudo apt install ./build/packages/*.deb
# The build (build/deb) uses Debian's compiler and linker flags, hardening
# included, and installs to /usr.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev: dpkg-shlibdeps and dpkg-buildflags; file: CPack finds binaries
# with it; help2man: the tool's manual page
scripts/setup.sh dpkg-dev file help2man

build=build/deb
out=build/packages
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DWIRELINK_BUILD_TESTS=OFF \
    -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -B "$PWD/$out" >"$build/cpack.log" 2>&1; then
    cat "$build/cpack.log" >&2
    echo "package: cpack failed (log above, also in $build/cpack.log)" >&2
    exit 1
fi
rm -rf "$out/_CPack_Packages"

# The changelog's top entry names the version the packages carry.
built=$(dpkg-deb --field "$out"/libwirelink0_*.deb Version)
logged=$(dpkg-parsechangelog --file packaging/changelog --show-field Version)
if [ "$built" != "$logged" ]; then
    echo "package: the packages are version $built, but packaging/changelog's top entry is $logged:" \
        "add an entry for $built at its top" >&2
    exit 1
fi
ls -1 "$out"/*.deb
