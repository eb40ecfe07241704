#!/usr/bin/env bash
# Set-up, configure, build and run every test. Exits non-zero on any failure.
#   scripts/test.sh              build/ and ctest, with a private Firebird server for the server
#                                tests, then each fuzzer for 20 seconds from its seed corpus when
#                                clang is there (scripts/fuzz.sh SECONDS searches longer)
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer and UndefinedBehaviorSanitizer
#                                in build-sanitize/, without the fuzzers
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=1
elif [ $# -gt 0 ]; then
  echo "usage: scripts/test.sh [--sanitize]" >&2
  exit 2
fi

"$root/scripts/setup.sh"
if [ $sanitize -eq 1 ]; then
  build="${BUILD_DIR:-$root/build-sanitize}"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCONTADO_SANITIZE=ON
  # Leak checking is off: the Firebird client library (libfbclient) leaves allocations of its own
  # at exit, which LeakSanitizer reports in every test that opens a database.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build="${BUILD_DIR:-$root/build}"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"

# A private Firebird server on 127.0.0.1 for the server tests, stopped whatever happens; where none
# can be started those tests say so and are skipped.
server_folder=$(mktemp -u /tmp/contado-test-server.XXXXXX)
trap '"$root/scripts/test-server.sh" stop "$server_folder"' EXIT
if "$root/scripts/test-server.sh" start "$server_folder"; then
  set -a
  # shellcheck source=/dev/null
  source "$server_folder/env"
  set +a
else
  echo "No private Firebird server could be started: the server tests are skipped" >&2
fi

cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"

if [ $sanitize -eq 0 ] && command -v clang++ > /dev/null; then
  "$root/scripts/fuzz.sh" 20
fi
