#!/usr/bin/env bash
# Builds the program and its driver in build-pkg/ (Release) and packs them into
# build-pkg/package/contado_<version>_<arch>.deb with CPack; lintian, when installed, checks it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${PACKAGE_BUILD_DIR:-$root/build-pkg}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
nice cmake --build "$build" -j "$(nproc)" --target contado fbdriver contado_packagedocs
rm -rf "$build/package"
(cd "$build" && cpack -B "$build/package" > /dev/null)
deb=$(ls "$build"/package/contado_*.deb)
echo "Built $deb"
if command -v lintian > /dev/null; then
  # Errors fail the build; warnings and notes are shown.
  lintian --fail-on error "$deb"
fi
