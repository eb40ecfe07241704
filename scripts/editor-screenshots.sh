#!/usr/bin/env bash
# Renders the real window and its two adjustment editors (F5 and F7) over the demo company into
# docs/window.png, docs/editor-f5.png and docs/editor-f7.png, without a display.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/demo-company.sh
source "$root/scripts/demo-company.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target contado_editorscreenshots fbdriver -j "$(nproc)"
mkdir -p "$root/docs"
QT_QPA_PLATFORM=offscreen "$build/bin/contado_editorscreenshots" "$server" "$user" "$password" "$company" \
  "$root/docs"
echo "Wrote docs/window.png, docs/editor-f5.png and docs/editor-f7.png"
