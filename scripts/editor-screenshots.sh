#!/usr/bin/env bash
# Renders the real window and its two adjustment editors (F5 and F7) over the demo company into
# docs/window.png, docs/editor-f5.png and docs/editor-f7.png, without a display. The server field
# shows a neutral server text instead of the demo's folder, which is a path of this machine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/demo-company.sh
source "$root/scripts/demo-company.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target contado_editorscreenshots fbdriver -j "$(nproc)"
mkdir -p "$root/docs"
shown_server=/srv/tandrel
QT_QPA_PLATFORM=offscreen "$build/bin/contado_editorscreenshots" "$shown_server" "$user" "$password" "$company" \
  "$root/docs"
echo "Wrote docs/window.png, docs/editor-f5.png and docs/editor-f7.png"
