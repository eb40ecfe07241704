#!/usr/bin/env bash
# Redraws the program's icon, packaging/icons/hicolor/<N>x<N>/apps/com.ombrin.Contado.png, at the
# hicolor sizes the desktop entry uses.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -fPIC -o "$work/drawappicon" "$root/scripts/drawappicon.cpp" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/drawappicon" "$root/packaging/icons/hicolor"
