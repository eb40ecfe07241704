#!/usr/bin/env bash
# Redraws the grid's indicator glyphs, resources/DBGARROWEX.png and the five others.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -fPIC -o "$work/drawgridglyphs" "$root/scripts/drawgridglyphs.cpp" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/drawgridglyphs" "$root/resources"
