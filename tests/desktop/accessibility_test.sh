#!/usr/bin/env bash
# What a screen reader gets from the real program: a private X server, a private D-Bus session with
# the accessibility bus, the program on a fresh embedded company with Qt's AT-SPI bridge on, and
# accessibility_check.py reading it through AT-SPI while xdotool types. Everything started here is
# stopped when the test ends, however it ends; every wait has a limit. 77: the tools are missing.
#
#   tests/desktop/accessibility_test.sh PATH_TO_CONTADO
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$(realpath "${1:?usage: $0 PATH_TO_CONTADO}")
# Debian's Python, which python3-pyatspi installs into, whatever python3 is first on the PATH.
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
missing=()
for tool in Xvfb xdotool dbus-run-session dbus-send isql-fb "$launcher"; do
  command -v "$tool" > /dev/null || missing+=("$tool")
done
"$python" -c 'import pyatspi' 2> /dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: not installed: ${missing[*]} (scripts/setup.sh installs them)" >&2
  exit 77
fi

# The rest runs in a D-Bus session of its own, which ends with it.
if [ -z "${ACCESSIBILITY_TEST_SESSION:-}" ]; then
  exec timeout --kill-after=5 110 env ACCESSIBILITY_TEST_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d /tmp/contado-a11y.XXXXXX)
pids=()
teardown() {
  local status=$? pid
  trap - EXIT
  for pid in "${pids[@]}"; do
    kill -TERM "$pid" 2> /dev/null || continue
    timeout 3 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" 2> /dev/null || true
  done
  [ "$status" -eq 0 ] || tail -n 40 "$work/program.log" >&2 2> /dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap teardown EXIT
trap 'exit 143' TERM INT

# Waits up to $1 seconds for a command to succeed.
poll() {
  local tries limit=$1
  shift
  for tries in $(seq $((limit * 10))); do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# A company with a few days of sales, its VAT rates (read before the program opens it), and the
# settings that point the program at it.
"$here/../../scripts/create-company-db.sh" "$work/server" 01 --demo 3 > "$work/create.log" 2>&1 ||
  { cat "$work/create.log" >&2; exit 1; }
rates=$(echo 'select distinct TAIV_PORC from TARIFA_IVA;' |
  FIREBIRD_LOCK=/var/lib/contado/lock isql-fb -user SYSDBA -password masterkey -q \
    "$work/server/datos/01/tandrel.fdb" | awk '$1 ~ /^[0-9.]+$/ { print $1 }' | paste -sd, -)
mkdir -p "$work/app" "$work/xdg/Ombrin" && mkdir -m 0700 "$work/runtime"
echo "$work/server" > "$work/app/SERVIDORES.cfg"
printf '[General]\nDirectorio=%s\n' "$work/app" > "$work/xdg/Ombrin/TandrelERP2017.conf"

# The X server picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids=($!)
poll 20 test -s "$work/display" || { echo "FAILED: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

# Asked whether the bus's name is taken, not for the bus, which would start another launcher.
"$launcher" --launch-immediately > /dev/null 2>&1 &
pids=($! "${pids[@]}")
poll 20 sh -c 'dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
  org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q "boolean true"' ||
  { echo "FAILED: the accessibility bus did not start" >&2; exit 1; }

XDG_CONFIG_DIRS="$work/xdg" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" > "$work/program.log" 2>&1 &
pids=($! "${pids[@]}")
timeout 95 "$python" "$here/accessibility_check.py" --pid "${pids[0]}" --rates "$rates" \
  --user SYSDBA --password masterkey --company 01
