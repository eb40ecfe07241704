#!/usr/bin/env bash
# Builds the program and its driver in build-pkg/ (Release, with Debian's hardening flags: fortified
# functions, stack protector, PIE, read-only relocations bound at start) and packs them into
# build-pkg/package/contado_<version>_<arch>.deb with CPack; lintian checks it, and so does
# tests/packaging/package_test.sh.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${PACKAGE_BUILD_DIR:-$root/build-pkg}"

"$root/scripts/setup.sh"
# dpkg-buildflags gives the flags of a Debian package build; CPPFLAGS (_FORTIFY_SOURCE) go with the
# compiler's, LDFLAGS (-z relro -z now) with every kind of link.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cd "$root"
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" > /dev/null
nice cmake --build "$build" -j "$(nproc)" --target contado fbdriver contado_packagedocs
rm -rf "$build/package"
(cd "$build" && cpack -B "$build/package" > /dev/null)
deb=$(ls "$build"/package/contado_*.deb)
echo "Built $deb"
# Errors and warnings fail the build; notes (-I, the hardening tags among them) are shown.
lintian -I --fail-on error,warning "$deb"
bash "$root/tests/packaging/package_test.sh" "$build"
