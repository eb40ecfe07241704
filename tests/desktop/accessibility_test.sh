#!/usr/bin/env bash
# What a screen reader gets from the real program on a real desktop: a private X server, a private
# D-Bus session with the accessibility bus, the program on a fresh embedded company with Qt's AT-SPI
# bridge on, and accessibility_check.py reading the accessible tree through AT-SPI while xdotool
# types (connect, F5, Up, Down, Tab). Everything started here is stopped when the test ends, however
# it ends; every wait has a limit. Exit status 77: the desktop tools are not installed.
#
#   tests/desktop/accessibility_test.sh PATH_TO_CONTADO
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
program=$(realpath "${1:?usage: $0 PATH_TO_CONTADO}")

bus_launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && bus_launcher=$candidate && break
done
# Debian's Python, which python3-pyatspi installs into, whatever python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
missing=()
for tool in Xvfb xdotool dbus-run-session dbus-send isql-fb; do
  command -v "$tool" > /dev/null || missing+=("$tool")
done
[ -n "$bus_launcher" ] || missing+=(at-spi-bus-launcher)
"$python" -c 'import pyatspi' 2> /dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: not installed: ${missing[*]} (scripts/setup.sh installs them)" >&2
  exit 77
fi
[ -x "$program" ] || { echo "FAILED: no program at $program" >&2; exit 1; }

# The rest runs inside a D-Bus session of its own, which ends with it.
if [ -z "${ACCESSIBILITY_TEST_SESSION:-}" ]; then
  exec timeout --kill-after=10 300 env ACCESSIBILITY_TEST_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d /tmp/contado-a11y.XXXXXX)
xvfb_pid=
bus_pid=
program_pid=

stop_pid() {
  local pid=$1 tries
  [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null || return 0
  kill -TERM "$pid" 2> /dev/null || true
  for tries in $(seq 30); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
}

teardown() {
  local status=$?
  trap - EXIT INT TERM
  stop_pid "$program_pid"
  stop_pid "$bus_pid"
  stop_pid "$xvfb_pid"
  if [ "$status" -ne 0 ] && [ -s "$work/program.log" ]; then
    echo "--- the program's standard error" >&2
    tail -n 40 "$work/program.log" >&2
  fi
  rm -rf "$work"
  exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to $1 seconds for a command to succeed.
poll() {
  local limit=$1 tries
  shift
  for tries in $(seq $((limit * 10))); do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

log() {
  printf '[%3ds] %s\n' "$SECONDS" "$*" >&2
}

# A company with a few days of sales, and the settings that point the program at it.
log "creating the company"
"$root/scripts/create-company-db.sh" "$work/server" 01 --demo 3 > "$work/create.log" 2>&1 ||
  { cat "$work/create.log" >&2; exit 1; }
mkdir -p "$work/app" "$work/xdg/Ombrin"
mkdir -p -m 0700 "$work/runtime"
printf '%s\n' "$work/server" > "$work/app/SERVIDORES.cfg"
printf '[General]\nDirectorio=%s\n' "$work/app" > "$work/xdg/Ombrin/TandrelERP2017.conf"

# The VAT rates F5 makes one row each of, read before the program opens the database.
rates=$(printf 'select distinct TAIV_PORC from TARIFA_IVA;\n' |
  FIREBIRD_LOCK=/var/lib/contado/lock isql-fb -user SYSDBA -password masterkey -q "$work/server/datos/01/tandrel.fdb" |
  awk '$1 ~ /^[0-9.]+$/ { print $1 }' | paste -sd, -)
log "rates in the company: $rates"

# The X server picks a free display and writes its number.
log "starting Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
xvfb_pid=$!
poll 20 test -s "$work/display" || { echo "FAILED: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

log "starting the accessibility bus on $DISPLAY"
"$bus_launcher" --launch-immediately > "$work/bus.log" 2>&1 &
bus_pid=$!
# Asked whether the name is taken, not for the bus, which would start another launcher.
bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
poll 20 bus_up ||
  { echo "FAILED: the accessibility bus did not start" >&2; cat "$work/bus.log" >&2; exit 1; }

log "starting the program"
XDG_CONFIG_DIRS="$work/xdg" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$program" > "$work/program.log" 2>&1 &
program_pid=$!

timeout 200 "$python" "$here/accessibility_check.py" --pid "$program_pid" --rates "$rates" \
  --user SYSDBA --password masterkey --company 01
