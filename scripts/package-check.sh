#!/usr/bin/env bash
# Builds the Debian packages (scripts/package.sh) and checks them as Debian
# and a user would: their names, fields and contents, lintian without errors;
# then installs them with apt, uses them (the tool on the simulated bench, a C
# program built with pkg-config and one with the CMake package, rigcheck on a
# virtual screen), purges them and checks that nothing of them is left.
#
# Run as root on a machine where none of them is installed (a CI machine):
# it installs and purges them, and refuses to touch an installation of yours.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$top/build/packages

fail() {
    echo "package check: FAIL: $*" >&2
    exit 1
}
[ "$(id -u)" = 0 ] || fail "run it as root (sudo $0): it installs the packages and purges them again"

# lintian; Xtigervnc for rigcheck's virtual screen; a compiler and pkg-config
# for the programs built against the installed library
scripts/setup.sh lintian tigervnc-standalone-server build-essential pkg-config cmake ninja-build
scripts/package.sh >/dev/null

scratch=$(mktemp -d)
installed=()
# Purges those of `installed` that dpkg knows (an install may have failed).
purge() {
    local known=() package
    for package in "${installed[@]}"; do
        dpkg-query -W "$package" >/dev/null 2>&1 && known+=("$package")
    done
    [ ${#known[@]} -eq 0 ] && return 0
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${known[@]}" >"$scratch/purge.log" 2>&1
}
cleanup() {
    local status=$?
    if ! purge; then
        cat "$scratch/purge.log" >&2
        echo "package check: could not purge ${installed[*]}: remove them with apt purge" >&2
    fi
    rm -rf "$scratch"
    exit "$status"
}
trap cleanup EXIT

echo "== names and fields"
version=$(dpkg-parsechangelog --file packaging/changelog --show-field Version)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture --query DEB_HOST_MULTIARCH)
libdir=/usr/lib/$multiarch
packages=(libwirelink0 libwirelink-dev wirelink-tools rigcheck wirelink-sim)
[ -n "$(find "$out" -name 'python3-wirelink_*.deb')" ] && packages+=(python3-wirelink)
deb() {
    local file=$out/${1}_${version}_$arch.deb
    [ "$1" = python3-wirelink ] && file=$out/${1}_${version}_all.deb
    echo "$file"
}
debs=()
for package in "${packages[@]}"; do
    [ -f "$(deb "$package")" ] || fail "$(basename "$(deb "$package")") was not built: $(ls "$out")"
    debs+=("$(deb "$package")")
done
[ "$(find "$out" -name '*.deb' | wc -l)" = ${#packages[@]} ] ||
    fail "packages nobody asked for (an install rule without a known COMPONENT?): $(ls "$out")"

field() { dpkg-deb --field "$(deb "$1")" "$2"; }
expect_field() { # package field extended-regex
    field "$1" "$2" | grep -qE "$3" || fail "$1: $2 is '$(field "$1" "$2")', expected /$3/"
}
expect_field libwirelink0 Depends 'libc6 \(>= '                  # from dpkg-shlibdeps
expect_field libwirelink-dev Depends "^libwirelink0 \\(= $version\\)$"
expect_field wirelink-tools Depends "libwirelink0 \\(= $version\\).*libc6"
expect_field rigcheck Depends "libwirelink0 \\(= $version\\).*libqt6widgets6"
expect_field wirelink-sim Depends "libwirelink0 \\(= $version\\)"
expect_field libwirelink0 Section '^libs$'
expect_field libwirelink-dev Section '^libdevel$'

control() { dpkg-deb --ctrl-tarfile "$(deb "$1")" | tar -xO "./$2" 2>/dev/null; }
[ "$(control libwirelink0 triggers)" = "activate-noawait ldconfig" ] || fail "libwirelink0: no ldconfig trigger"
control libwirelink0 shlibs | grep -qxE "libwirelink 0 libwirelink0 \\(>= [^)]+\\)" ||
    fail "libwirelink0: shlibs is '$(control libwirelink0 shlibs)'"
for package in "${packages[@]}"; do
    for script in preinst postinst prerm postrm; do
        control "$package" "$script" >/dev/null && fail "$package has a $script: $(control "$package" "$script")"
    done
done

echo "== contents"
contents() { dpkg-deb --contents "$(deb "$1")" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }'; }
expect_files() { # package path-regex...
    local package=$1 listing path
    listing=$(contents "$package")
    shift
    for path in "$@"; do
        grep -qxE "\\./$path" <<<"$listing" || fail "$package lacks $path:"$'\n'"$listing"
    done
}
expect_files libwirelink0 "usr/lib/$multiarch/libwirelink.so.0.[0-9]+.[0-9]+" \
    "usr/lib/$multiarch/libwirelink.so.0 -> libwirelink.so.0.[0-9.]+" \
    "usr/lib/$multiarch/libwirelink.so -> libwirelink.so.0" "usr/lib/$multiarch/libdlportio.so" \
    usr/share/lintian/overrides/libwirelink0
expect_files libwirelink-dev usr/include/wirelink.h "usr/lib/$multiarch/pkgconfig/wirelink.pc" \
    "usr/lib/$multiarch/cmake/wirelink/wirelinkConfig.cmake"
expect_files wirelink-tools usr/bin/wirelink usr/share/man/man1/wirelink.1.gz \
    usr/share/doc/wirelink-tools/examples/70-wirelink-modemmanager.rules
expect_files rigcheck usr/bin/rigcheck usr/share/applications/rigcheck.desktop \
    usr/share/icons/hicolor/scalable/apps/rigcheck.svg usr/share/man/man1/rigcheck.1.gz
expect_files wirelink-sim usr/bin/wirelink-sim "usr/lib/$multiarch/wirelink/sim/libdlportio.so" \
    usr/share/man/man1/wirelink-sim.1.gz
for package in "${packages[@]}"; do
    expect_files "$package" "usr/share/doc/$package/copyright" "usr/share/doc/$package/changelog.Debian.gz"
    outside=$(contents "$package" | grep -vE '^\./(usr/.*)?$' || true)
    [ -z "$outside" ] || fail "$package installs outside /usr: $outside"
    mkdir -p "$scratch/tree/$package"
    dpkg-deb --extract "$(deb "$package")" "$scratch/tree/$package"
done
# Whatever a plain install of the build puts down is in one of the packages
# (an install rule without a package's COMPONENT would be left out).
DESTDIR=$scratch/plain cmake --install build/deb >/dev/null
packaged=$(for package in "${packages[@]}"; do contents "$package"; done | sed 's/ -> .*//; s/^\.//')
while IFS= read -r path; do
    grep -qxF "$path" <<<"$packaged" || fail "$path is installed but in no package: give its install rule a COMPONENT (cmake/Packaging.cmake)"
done < <(cd "$scratch/plain" && find . ! -type d | sed 's/^\.//')
# Stripped: no symbol table and no debugging information.
while IFS= read -r -d '' binary; do
    [[ $(file -b "$binary") == ELF* ]] || continue
    sections=$(readelf -S "$binary")
    grep -qE ' \.(symtab|debug_info) ' <<<"$sections" && fail "not stripped: ${binary#"$scratch"/tree/}"
done < <(find "$scratch/tree" -type f -print0)
grep -qF 'Library soname: [libwirelink.so.0]' <<<"$(readelf -d "$scratch/tree/libwirelink0$libdir"/libwirelink.so.0.*.*)" ||
    fail "libwirelink.so.0.x.y does not carry the SONAME libwirelink.so.0"

echo "== lintian"
# Not uploaded to Debian's archive: there is no bug that asks for the package.
status=0
lintian --fail-on error --suppress-tags initial-upload-closes-no-bugs "${debs[@]}" >"$scratch/lintian.log" 2>&1 ||
    status=$?
grep -v 'running with root privileges' "$scratch/lintian.log" || true
[ "$status" = 0 ] || fail "lintian found errors (above)"

echo "== install"
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^.[ic]'; then
        fail "$package is installed already: this check purges what it installs; remove it first (apt purge $package)"
    fi
done
installed=("${packages[@]}")
apt_install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${debs[@]}"; }
if ! apt_install >"$scratch/install.log" 2>&1; then
    { apt-get update -qq && apt_install >"$scratch/install.log" 2>&1; } ||
        fail "apt could not install the packages: $(tail -20 "$scratch/install.log")"
fi
grep -qF "libwirelink.so.0 (" <<<"$(ldconfig -p)" || fail "the loader cache does not know libwirelink.so.0 (the trigger did not run)"

echo "== use"
cd "$scratch"
expect_output() { # output-file line...
    local file=$1 line
    shift
    for line in "$@"; do grep -qF -- "$line" "$file" || fail "expected '$line' in: $(cat "$file")"; done
}
wirelink --sim detect >detect.out 2>&1 || fail "wirelink --sim detect failed: $(cat detect.out)"
expect_output detect.out "30: -- -- -- -- -- -- -- -- 38 39 3a -- -- -- -- --" \
    "40: -- -- -- -- -- -- -- -- 48 -- -- -- -- -- -- --"

# shellcheck disable=SC2046  # pkg-config prints several words
cc -o pc_demo "$top/examples/bus_demo.c" $(pkg-config --cflags --libs wirelink)
grep -qF 'Shared library: [libwirelink.so.0]' <<<"$(readelf -d pc_demo)" || fail "a program does not link libwirelink.so.0"
WLSIM_TRACE=1 wirelink-sim ./pc_demo >pc_demo.out 2>&1 || fail "pc_demo failed: $(cat pc_demo.out)"
expect_output pc_demo.out "i2c: S 72 A 89 A P"

{ cmake -S "$top/tests/install/consumer" -B consumer -G Ninja >consumer.log 2>&1 &&
    cmake --build consumer >>consumer.log 2>&1; } || fail "the CMake package does not serve a program: $(cat consumer.log)"
WLSIM_TRACE=1 wirelink-sim consumer/bus_demo >consumer.out 2>&1 || fail "bus_demo failed: $(cat consumer.out)"
expect_output consumer.out "i2c: S 72 A 89 A P"

if [[ " ${packages[*]} " == *" python3-wirelink "* ]]; then
    /usr/bin/python3 -c "import wirelink" || fail "python3 cannot import wirelink"
fi

# rigcheck as the menu starts it, on the simulated bench and a virtual screen,
# for a second: start-up writes both expanders.
port=5900
while awk -v port="$(printf ':%04X' "$port")" '$4 == "0A" && substr($2, length($2) - 4) == port { found = 1 }
        END { exit !found }' /proc/net/tcp /proc/net/tcp6; do
    port=$((port + 1))
done
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/rigcheck.desktop)
XDG_RUNTIME_DIR=$scratch WLSIM_TRACE=1 RIGCHECK_SECONDS=1 RIGCHECK_VNC_PORT=$port \
    "$top/scripts/headless.sh" wirelink-sim "$exec_line" >rigcheck.out 2>&1 ||
    fail "rigcheck did not run: $(cat rigcheck.out)"
expect_output rigcheck.out "i2c: S 72 A 00 A P"
cd "$top"

echo "== purge"
# What the packages put on the machine: files and links, and folders of their own.
listing=$(for package in "${packages[@]}"; do contents "$package"; done | sed 's/ -> .*//; s/^\.//')
purge || fail "apt could not purge the packages: $(cat "$scratch/purge.log")"
installed=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^.[^n]' &&
        fail "$package is still known to dpkg after the purge: $(dpkg -l "$package" | tail -1)"
done
left=()
while IFS= read -r path; do
    case $path in
    */) [[ $path == *wirelink* || $path == */rigcheck/ ]] && [ -d "$path" ] && left+=("$path") ;;
    *) { [ -e "$path" ] || [ -L "$path" ]; } && left+=("$path") ;;
    esac
done <<<"$listing"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"
cached=$(ldconfig -p | grep 'libwirelink\|libdlportio' || true)
[ -z "$cached" ] || fail "the loader cache still lists: $cached"

echo "package check: ${#packages[@]} packages built, lintian without errors, installed, used and purged without a trace"
