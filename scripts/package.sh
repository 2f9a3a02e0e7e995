#!/usr/bin/env bash
# Builds the Debian package of Kalvara: a Release build without tests or the
# update check (apt keeps the program up to date), packed by CPack, checked
# with lintian. Prints the path of the .deb. Install it with
#   apt-get install ./build-deb/kalvara_*.deb
# Needs the packages of scripts/deps.sh; never root.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KALVARA_DEB_BUILD_DIR:-build-deb}

# Debian's hardening flags (stack protector, fortified functions, full
# RELRO), as a package built by Debian's own tools would get them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) ${CXXFLAGS:-}"
c_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS) ${CFLAGS:-}"
ld_flags="$(dpkg-buildflags --get LDFLAGS)"

# A compiler newer than ours may warn where this one does not; a package
# build reports warnings without failing on them.
cmake -S . -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$cxx_flags" \
    -DCMAKE_C_FLAGS="$c_flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ld_flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ld_flags" \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DKALVARA_BUILD_TESTS=OFF \
    -DKALVARA_BUILD_BENCH=OFF \
    -DKALVARA_UPDATER=OFF \
    -DKALVARA_WERROR=OFF \
    -DKALVARA_PACKAGE_DEB=ON >&2
cmake --build "$build_dir" -j "$(nproc)" >&2

rm -f "$build_dir"/kalvara_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
packages=("$build_dir"/kalvara_*.deb)
package=${packages[0]}
if [[ ! -f $package ]]; then
    echo "package.sh: cpack wrote no package" >&2
    exit 1
fi

# CPack adds postinst and postrm scripts that run ldconfig; the package's
# ldconfig trigger does that already, and a postrm would keep the package
# listed by dpkg after `apt-get remove`. So the package goes without them.
unpacked=$build_dir/deb-root
rm -rf "$unpacked"
dpkg-deb -R "$package" "$unpacked"
rm -f "$unpacked/DEBIAN/postinst" "$unpacked/DEBIAN/postrm"
dpkg-deb --root-owner-group -Zxz -b "$unpacked" "$package" >/dev/null
rm -rf "$unpacked"

if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$package" >&2
else
    echo "package.sh: lintian is not installed; the package is unchecked" >&2
fi
realpath "$package"
