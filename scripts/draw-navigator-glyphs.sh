#!/usr/bin/env bash
# Redraws the record navigator's button glyphs, resources/DBN_FIRST.png and the nine others.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -fPIC -o "$work/drawnavigatorglyphs" "$root/scripts/drawnavigatorglyphs.cpp" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/drawnavigatorglyphs" "$root/resources"
