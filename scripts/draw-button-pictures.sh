#!/usr/bin/env bash
# Redraws resources/cancelar.png and resources/ejecutar.png, the pictures of the main window's buttons.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -fPIC -o "$work/drawbuttonpictures" "$root/scripts/drawbuttonpictures.cpp" \
  $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/drawbuttonpictures" "$root/resources"
