#!/usr/bin/env bash
# Packs the built program into a .deb with CPack, unpacks it into a scratch root with dpkg -x, checks
# what it holds, and runs the unpacked program: --version and --help, then an unattended posting
# over a company made by the unpacked company-database script and SQL, through the unpacked driver.
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
for package in libfbclient2 firebird3.0-server-core adduser libqt6widgets6; do
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
for file in usr/lib/contado/contado usr/share/contado/scripts/create-company-db.sh \
    usr/share/contado/scripts/migrate-company-db.sh; do
  [ -x "$root/$file" ] || fail "$file missing or not executable"
done
for file in usr/lib/contado/libfbdriver.so \
    usr/share/contado/companydb/schema.sql usr/share/contado/companydb/procedures.sql \
    usr/share/contado/companydb/seed.sql usr/share/contado/companydb/grants.sql \
    usr/share/contado/companydb/demo.sql \
    usr/share/applications/com.ombrin.Contado.desktop \
    usr/share/man/man1/contado.1.gz usr/share/doc/contado/copyright usr/share/doc/contado/changelog.gz \
    usr/share/doc/contado/examples/contado-posting.service \
    usr/share/doc/contado/examples/contado-posting.timer; do
  [ -f "$root/$file" ] || fail "$file missing"
done
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/com.ombrin.Contado.png
  [ -f "$icon" ] || fail "icon $size missing"
  # PNG width and height are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4, $7*256+$8}')" = "$size $size" ] ||
    fail "icon $size has another size"
done
grep -qx 'Icon=com.ombrin.Contado' "$root/usr/share/applications/com.ombrin.Contado.desktop" ||
  fail "desktop entry names another icon"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$root/usr/share/applications/com.ombrin.Contado.desktop"
fi
# The manual page carries the version and every section the administrator needs.
manual=$(zcat "$root/usr/share/man/man1/contado.1.gz")
version=$("$root/usr/bin/contado" --version) || fail "--version did not exit 0"
[[ "$version" =~ ^contado\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
[[ "$manual" == *"contado ${version#contado }"* ]] || fail "manual page of another version"
for section in "SYNOPSIS" "EXIT STATUS" "FILES" "ENVIRONMENT" "EXAMPLES"; do
  grep -q "^\.SH $section\$" <<< "$manual" || fail "manual page lacks $section"
done
# The service never carries a password on its command line.
service=$root/usr/share/doc/contado/examples/contado-posting.service
grep -q '^LoadCredential=clave:' "$service" || fail "service without the password credential"
grep -q '^ExecStart=.*/usr/bin/contado [^ ]* [^ ]* - [^ ]* --desde ' "$service" || fail "service password not '-', or no catch-up"
grep -q '^SupplementaryGroups=' "$service" || fail "service not in the lock folder's group"
help=$("$root/usr/bin/contado" --help) || fail "--help did not exit 0"
[[ "$help" == *ISC_PASSWORD* ]] || fail "--help printed '$help'"

# The unpacked program posts today on a company made by the unpacked script, loading the unpacked
# driver from beside its own real path.
"$root/usr/share/contado/scripts/create-company-db.sh" "$scratch/srv" 01 --demo 2 > "$scratch/create.log" 2>&1 ||
  { cat "$scratch/create.log"; fail "create-company-db.sh"; }
mkdir -p "$scratch/xdg/Ombrin" "$scratch/app"
printf '[General]\nDirectorio=%s\n' "$scratch/app" > "$scratch/xdg/Ombrin/TandrelERP2017.conf"
status=0
env -u FIREBIRD_LOCK XDG_CONFIG_DIRS="$scratch/xdg" QT_QPA_PLATFORM=offscreen ISC_PASSWORD=masterkey \
  timeout -s KILL 120 "$root/usr/bin/contado" "$scratch/srv" SYSDBA - 01 > "$scratch/run.log" 2>&1 || status=$?
[ $status -eq 0 ] || { cat "$scratch/run.log"; fail "unattended run of the unpacked program ended with $status"; }
echo "package test passed: $(basename "$deb")"
