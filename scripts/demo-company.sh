# Sourced by the demo scripts: installs what is missing, builds the program when needed, creates once
# the embedded demo company (var/demo, 30 days of sales), and points the settings at it.
# Sets root, build, demo, server, company, user and password.

build="${BUILD_DIR:-$root/build}"
demo="$root/var/demo"
server="$demo/server"
company=01
user=SYSDBA
password=masterkey

"$root/scripts/setup.sh"
if [ ! -x "$build/bin/contado" ] || [ ! -e "$build/bin/libfbdriver.so" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target contado fbdriver -j "$(nproc)"
fi

if [ ! -e "$server/datos/$company/tandrel.fdb" ]; then
  echo "Creating the demo company $company with 30 days of sales..."
  "$root/scripts/create-company-db.sh" "$server" "$company" --demo 30 >/dev/null
fi

# The application directory with its server list, and the settings file that names it.
appdir="$demo/app"
mkdir -p "$appdir" "$demo/xdg/Ombrin"
printf '%s\r\n' "$server" >"$appdir/SERVIDORES.cfg"
printf '[General]\nDirectorio=%s\n' "$appdir" >"$demo/xdg/Ombrin/TandrelERP2017.conf"
export XDG_CONFIG_DIRS="$demo/xdg"
# Qt wants a private runtime folder; without one it says so on every start.
mkdir -p -m 0700 "$demo/runtime"
export XDG_RUNTIME_DIR="$demo/runtime"
