#!/usr/bin/env bash
# Packs the built program into a .deb with CPack, unpacks it into a scratch root with dpkg -x, checks
# what it holds (desktop entry, AppStream data, both manual pages, the systemd units and their
# sandbox, the purge), and runs the unpacked program: --version and --help, its window's WM_CLASS
# under Xvfb, then the service's own command line over a company made by the unpacked
# company-database script and SQL, through the unpacked driver. lintian's hardening tags are checked
# when BUILD_DIR was built by scripts/package.sh, with Debian's build flags.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

(cd "$build" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$scratch"/out/contado_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "one .deb expected, found: ${debs[*]}"
deb=${debs[0]}

# Control data: the run-time packages the library scan cannot see, and the scripts that make the
# shared lock folder.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libfbclient2 firebird3.0-server-core adduser libqt6widgets6 \
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg-deb -e "$deb" "$scratch/control"
for script in postinst postrm; do
  [ -x "$scratch/control/$script" ] || fail "$script missing or not executable"
  sh -n "$scratch/control/$script" || fail "$script is not valid sh"
done
# The folder's group follows the rule of scripts/setup.sh: firebird's where that user exists.
grep -q 'install -d -o root -g "$lock_group" -m 2770 "$lock_folder"' "$scratch/control/postinst" &&
  grep -q '^lock_folder=/var/lib/contado/lock$' "$scratch/control/postinst" &&
  grep -q 'getent passwd firebird' "$scratch/control/postinst" &&
  grep -q 'lock_group=$(id -gn firebird)' "$scratch/control/postinst" ||
  fail "postinst does not make the shared lock folder with the group of scripts/setup.sh"

root=$scratch/root
dpkg -x "$deb" "$root"
[ "$(readlink "$root/usr/bin/contado")" = ../lib/contado/contado ] || fail "usr/bin/contado is not the link"
for file in usr/lib/contado/contado usr/lib/contado/contado-ventana usr/share/contado/scripts/create-company-db.sh \
    usr/share/contado/scripts/migrate-company-db.sh; do
  [ -x "$root/$file" ] || fail "$file missing or not executable"
done
for file in usr/lib/contado/libfbdriver.so \
    usr/share/contado/companydb/schema.sql usr/share/contado/companydb/procedures.sql \
    usr/share/contado/companydb/seed.sql usr/share/contado/companydb/grants.sql \
    usr/share/contado/companydb/demo.sql \
    usr/share/applications/com.ombrin.Contado.desktop usr/share/metainfo/com.ombrin.Contado.metainfo.xml \
    usr/share/man/man1/contado.1.gz usr/share/man/es/man1/contado.1.gz \
    usr/share/doc/contado/copyright usr/share/doc/contado/changelog.gz \
    lib/systemd/system/contado@.service lib/systemd/system/contado@.timer \
    usr/share/doc/contado/examples/contado@01.service.d/empresa.conf; do
  [ -f "$root/$file" ] || fail "$file missing"
done
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/com.ombrin.Contado.png
  [ -f "$icon" ] || fail "icon $size missing"
  # PNG width and height are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4, $7*256+$8}')" = "$size $size" ] ||
    fail "icon $size has another size"
done
desktop=$root/usr/share/applications/com.ombrin.Contado.desktop
grep -qx 'Icon=com.ombrin.Contado' "$desktop" || fail "desktop entry names another icon"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/com.ombrin.Contado.metainfo.xml" \
  > "$scratch/appstream.log" 2>&1 || { cat "$scratch/appstream.log"; fail "appstreamcli validate"; }
grep -q '<launchable type="desktop-id">com.ombrin.Contado.desktop</launchable>' \
  "$root/usr/share/metainfo/com.ombrin.Contado.metainfo.xml" || fail "metainfo launches another entry"
# Both manual pages carry the version and every section the administrator needs, and say the same
# things: the same entries, the same options and exit statuses.
manual=$(zcat "$root/usr/share/man/man1/contado.1.gz")
manual_es=$(zcat "$root/usr/share/man/es/man1/contado.1.gz")
version=$("$root/usr/bin/contado" --version) || fail "--version did not exit 0"
[[ "$version" =~ ^contado\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
[[ "$manual" == *"contado ${version#contado }"* ]] || fail "manual page of another version"
[[ "$manual_es" == *"contado ${version#contado }"* ]] || fail "Spanish manual page of another version"
for section in "SYNOPSIS" "EXIT STATUS" "FILES" "ENVIRONMENT" "EXAMPLES"; do
  grep -q "^\.SH $section\$" <<< "$manual" || fail "manual page lacks $section"
done
for section in "SINOPSIS" "ESTADO DE SALIDA" "ARCHIVOS" "ENTORNO" "EJEMPLOS"; do
  grep -q "^\.SH $section\$" <<< "$manual_es" || fail "Spanish manual page lacks $section"
done
outline() { grep -E '^\.(SH|TP)' | sed 's/^\.SH .*/SH/' | tr '\n' ' '; }
bold() { grep -oE '^\.B[IR]? +\\-\\-[a-z]+|^\.BR? +[0-9][0-9, "]*' | tr -d ' ' | sort | tr '\n' ' '; }
[ "$(outline <<< "$manual")" = "$(outline <<< "$manual_es")" ] || fail "the manual pages have other entries"
[ "$(bold <<< "$manual")" = "$(bold <<< "$manual_es")" ] || fail "the manual pages name other options or statuses"
for page in "$root/usr/share/man/man1/contado.1.gz" "$root/usr/share/man/es/man1/contado.1.gz"; do
  warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 > /dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
done

# The service never carries a password on its command line or in its environment, catches up a
# week, and counts "nothing to post" as success.
service=$root/lib/systemd/system/contado@.service
grep -q '^LoadCredential=clave:/etc/contado/clave-%i$' "$service" || fail "service without the password credential"
grep -q '^ExecStart=.*/usr/bin/contado "[^"]*" "[^"]*" - "\$\$1" --desde="\$\$(date -d "7 days ago" ' "$service" ||
  fail "service password not '-', or no catch-up"
grep -q '^SuccessExitStatus=1$' "$service" && grep -q '^UMask=0002$' "$service" || fail "service status or umask"
! grep -qiE '^Environment=.*(CLAVE|PASSWORD)' "$service" || fail "a password in the service's environment"
# The units as systemd reads them, with the example drop-in of an instance: no warning, and the
# sandbox rated no worse than MEDIUM (overall exposure up to 6.9 of 10).
units=$scratch/units
mkdir -p "$units/contado@01.service.d"
cp "$root"/lib/systemd/system/contado@.* "$units/"
cp "$root/usr/share/doc/contado/examples/contado@01.service.d/empresa.conf" "$units/contado@01.service.d/"
verify=$(SYSTEMD_UNIT_PATH="$units:" systemd-analyze verify --man=no contado@01.service contado@01.timer 2>&1) ||
  fail "systemd-analyze verify: $verify"
[ -z "$verify" ] || fail "systemd-analyze verify: $verify"
security=$(SYSTEMD_UNIT_PATH="$units:" systemd-analyze security --offline=yes contado@01.service 2>&1) ||
  fail "systemd-analyze security: $security"
exposure=$(sed -n 's/.*Overall exposure level for contado@01.service: \([0-9.]*\) .*/\1/p' <<< "$security")
[ -n "$exposure" ] && awk -v e="$exposure" 'BEGIN { exit !(e <= 6.9) }' ||
  fail "sandbox exposure '$exposure' worse than MEDIUM: $(tail -1 <<< "$security")"
echo "systemd-analyze security: $(tail -1 <<< "$security")"

# Purge removes the lock folder, the engine folders and the group drop-in from a scratch root; the
# administrator's passwords and drop-ins and anything a link named like an engine folder points to
# stay.
sysroot=$scratch/sysroot
mkdir -p "$sysroot/var/lib/contado/lock" "$sysroot/tmp/contado-firebird-1000/intl" \
  "$sysroot/run/user/1000/contado-firebird" "$sysroot/etc/contado" "$sysroot/kept" \
  "$sysroot/etc/systemd/system/contado@.service.d" "$sysroot/etc/systemd/system/contado@01.service.d" \
  "$sysroot/etc/systemd/system/timers.target.wants"
touch "$sysroot/var/lib/contado/lock/fb_lock_x" "$sysroot/tmp/contado-firebird-1000/firebird.conf" \
  "$sysroot/etc/contado/clave-01" "$sysroot/kept/file" \
  "$sysroot/etc/systemd/system/contado@.service.d/10-grupo.conf" \
  "$sysroot/etc/systemd/system/contado@01.service.d/override.conf"
ln -s "$sysroot/kept" "$sysroot/tmp/contado-firebird-1001"
ln -s /lib/systemd/system/contado@.timer "$sysroot/etc/systemd/system/timers.target.wants/contado@01.timer"
DPKG_ROOT=$sysroot sh "$scratch/control/postrm" purge || fail "postrm purge"
for gone in var/lib/contado tmp/contado-firebird-1000 tmp/contado-firebird-1001 \
    run/user/1000/contado-firebird etc/systemd/system/contado@.service.d \
    etc/systemd/system/timers.target.wants/contado@01.timer; do
  [ ! -e "$sysroot/$gone" ] && [ ! -L "$sysroot/$gone" ] || fail "purge left $gone"
done
for kept in kept/file etc/contado/clave-01 etc/systemd/system/contado@01.service.d/override.conf; do
  [ -e "$sysroot/$kept" ] || fail "purge removed $kept"
done
DPKG_ROOT=$sysroot sh "$scratch/control/postrm" purge || fail "postrm purge run again"

# lintian: no hardening tag where the build had Debian's flags (scripts/package.sh's build).
if grep -q '^CMAKE_CXX_FLAGS:.*-D_FORTIFY_SOURCE' "$build/CMakeCache.txt" && command -v lintian > /dev/null; then
  # The hardening tags are informational: -I shows them.
  lintian -I --no-tag-display-limit "$deb" > "$scratch/lintian.log" 2>&1 || true
  ! grep -E '^[EWIPX]: [^ ]+: hardening-' "$scratch/lintian.log" || fail "lintian reports hardening tags"
  echo "lintian: $(grep -cE '^[EWIPX]: ' "$scratch/lintian.log") tags, none about hardening"
else
  echo "lintian hardening check skipped: $build was not built by scripts/package.sh"
fi

help=$("$root/usr/bin/contado" --help) || fail "--help did not exit 0"
[[ "$help" == *ISC_PASSWORD* ]] || fail "--help printed '$help'"

mkdir -p "$scratch/xdg/Ombrin" "$scratch/app" "$scratch/credentials"
printf '[General]\nDirectorio=%s\n' "$scratch/app" > "$scratch/xdg/Ombrin/TandrelERP2017.conf"

# The window's WM_CLASS is the one the desktop entry names, so the desktop puts the window with it.
# It runs on the X server xvfb-run starts, whatever platform the tests around it ask for.
wm_class_wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class_wanted" ] || fail "desktop entry without StartupWMClass"
if command -v xvfb-run > /dev/null && command -v xprop > /dev/null; then
  cat > "$scratch/wmclass.sh" <<'SCRIPT'
"$1" > "$2" 2>&1 &
# A loaded machine may take a while to show the window.
for attempt in $(seq 1 400); do
  window=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Contabilizar ventas de contado".*/\1/p' | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] && xprop -id "$window" WM_CLASS
kill %1
SCRIPT
  wm_class=$(env -u FIREBIRD_LOCK QT_QPA_PLATFORM=xcb XDG_CONFIG_DIRS="$scratch/xdg" timeout 60 xvfb-run -a \
    bash "$scratch/wmclass.sh" "$root/usr/bin/contado" "$scratch/window.log" 2>&1) || true
  [[ "$wm_class" == *'WM_CLASS(STRING) = "contado", "'"$wm_class_wanted"'"'* ]] ||
    fail "WM_CLASS '$wm_class', the desktop entry wants '$wm_class_wanted'; the program said: $(cat "$scratch/window.log")"
fi

# The service's command line, as systemd gives it to the shell for instance 01, posts on a company
# made by the unpacked script, with the password from the credential, loading the unpacked driver
# from beside its own real path. Where bubblewrap and python3-seccomp are there (and this is root),
# it runs in a sandbox like the unit's, as user nobody in the lock folder's group: everything
# read-only but the lock folder, the company's and the application's folders; private /tmp and /dev;
# empty homes; no capabilities and no new privileges; only @system-service's calls, the unit's
# address families and no memory both writable and executable (Debian's python3, which has seccomp).
"$root/usr/share/contado/scripts/create-company-db.sh" "$scratch/srv" 01 --demo 2 > "$scratch/create.log" 2>&1 ||
  { cat "$scratch/create.log"; fail "create-company-db.sh"; }
printf 'masterkey' > "$scratch/credentials/clave"
command=$(sed -n 's/^ExecStart=//p' "$service" | sed -e 's/\$\$/$/g' -e 's/%%/%/g' -e 's/%i/01/g' \
  -e 's/%n/contado@01.service/g' -e "s|/usr/bin/contado|$root/usr/bin/contado|")
environment=(PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/nonexistent QT_QPA_PLATFORM=offscreen
  XDG_CONFIG_DIRS="$scratch/xdg" CONTADO_SERVIDOR="$scratch/srv" CONTADO_USUARIO=SYSDBA)
lock_folder=/var/lib/contado/lock
sandbox=()
if [ "$(id -u)" -eq 0 ] && command -v bwrap > /dev/null && /usr/bin/python3 -c 'import seccomp' 2> /dev/null &&
    [ -d "$lock_folder" ]; then
  for directive in ProtectSystem=strict ProtectHome=yes PrivateTmp=yes PrivateDevices=yes NoNewPrivileges=yes \
      CapabilityBoundingSet= SystemCallFilter=@system-service MemoryDenyWriteExecute=yes \
      "RestrictAddressFamilies=AF_UNIX AF_INET AF_INET6" "ReadWritePaths=$lock_folder"; do
    grep -qx "$directive" "$service" || fail "the sandbox below no longer mirrors the unit: $directive"
  done
  group=$(stat -c %G "$lock_folder")
  chmod 755 "$scratch"
  chgrp -R "$group" "$scratch/srv" "$scratch/app"
  chmod -R g+rwX "$scratch/srv"
  chmod 2775 "$scratch/app"
  chown nobody "$scratch/credentials/clave"
  chmod 400 "$scratch/credentials/clave"
  mkdir -m 700 "$scratch/runtime" && chown nobody "$scratch/runtime"
  environment+=(CREDENTIALS_DIRECTORY=/run/credentials/contado@01.service XDG_RUNTIME_DIR=/run/contado/01)
  sandbox=(bwrap --ro-bind / / --dev /dev --proc /proc --perms 1777 --tmpfs /tmp
    --tmpfs /home --tmpfs /root --tmpfs /run --bind "$lock_folder" "$lock_folder"
    --perms 0755 --dir "$scratch" --ro-bind "$scratch" "$scratch"
    --ro-bind "$(dirname "$0")/seccomp_exec.py" /run/seccomp_exec.py
    --bind "$scratch/srv" "$scratch/srv" --bind "$scratch/app" "$scratch/app"
    --perms 0755 --dir /run/contado --bind "$scratch/runtime" /run/contado/01
    --perms 0755 --dir /run/credentials --ro-bind "$scratch/credentials" /run/credentials/contado@01.service
    --die-with-parent --new-session
    setpriv --reuid=nobody --regid="$group" --clear-groups --bounding-set=-all --no-new-privs --
    /usr/bin/python3 /run/seccomp_exec.py @system-service "AF_UNIX AF_INET AF_INET6")
  where="in a sandbox like the unit's"
else
  environment+=(CREDENTIALS_DIRECTORY="$scratch/credentials")
  where="without a sandbox (needs root, bubblewrap and python3-seccomp)"
fi
status=0
(umask 0002 && timeout -s KILL 120 env -i "${environment[@]}" "${sandbox[@]}" \
  bash -c 'eval "$1"' service "$command") > "$scratch/run.log" 2>&1 || status=$?
[ $status -eq 0 ] || { cat "$scratch/run.log"; fail "the service's command ended with $status $where"; }
grep -q "^Día $(date -d '7 days ago' +%F) (día 1 de 8)" "$scratch/run.log" ||
  { cat "$scratch/run.log"; fail "the service's command did not catch up a week"; }
echo "the service's command posted $where"
echo "package test passed: $(basename "$deb")"
