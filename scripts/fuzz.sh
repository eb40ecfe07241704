#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for SECONDS (default 60), starting from the seed corpus in fuzz/corpus.
# SECONDS 0 replays the seed corpus once, the same on every run (what the test suite does).
# New inputs go to a scratch copy of the corpus; a crashing input is kept in build-fuzz/artifacts/.
# Exits non-zero when a target finds a fault.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(fuzz_filter fuzz_serverlist fuzz_settings fuzz_datetext fuzz_decimaltext)

if ! command -v clang++ > /dev/null; then
  echo "fuzz.sh: clang++ is missing (Debian package clang)" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCONTADO_FUZZ=ON > /dev/null
nice cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  mkdir -p "$scratch/$name" "$scratch/tmp"
  cp "$root/fuzz/corpus/$name/"* "$scratch/$name/"
  if [ "$seconds" -eq 0 ]; then
    echo "== $target over its seed corpus"
    limit=(-runs=0)
  else
    echo "== $target for ${seconds}s"
    limit=(-max_total_time="$seconds")
  fi
  if ! TMPDIR="$scratch/tmp" UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/$target" \
      "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "$scratch/$name" > "$scratch/$name.log" 2>&1; then
    tail -n 60 "$scratch/$name.log"
    echo "$target: fault found, input kept in $build/artifacts/" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$scratch/$name.log" | tail -n 2
  fi
done
exit $status
