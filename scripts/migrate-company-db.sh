#!/usr/bin/env bash
# Brings a company database SERVER_DIR/datos/COMPANY/tandrel.fdb made by an earlier create-company-db.sh
# up to the current one: runs companydb/upgrade.sql, the same changes create-company-db.sh applies to a
# new file, each only where it is missing, so running it again changes nothing.
#
# The embedded engine opens the file alone here, so nobody may use the company meanwhile: close the
# program's windows on it and let no scheduled run start (systemctl stop contado@COMPANY.timer).
set -euo pipefail

usage() {
  echo "usage: $(basename "$0") SERVER_DIR COMPANY" >&2
  exit 2
}

fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}

[ $# -eq 2 ] || usage
server_dir=$1
company=$2
[ -n "$server_dir" ] || fail "SERVER_DIR is empty"
[[ "$company" =~ ^[A-Za-z0-9_-]+$ ]] || fail "COMPANY must be letters, digits, '_' or '-', not '$company'"
command -v isql-fb >/dev/null || fail "isql-fb not found (package firebird3.0-utils)"

sql_dir=$(cd "$(dirname "$0")/../companydb" && pwd)
database="$server_dir/datos/$company/tandrel.fdb"
[ -f "$database" ] || fail "$database does not exist"
database="$(cd "$(dirname "$database")" && pwd)/tandrel.fdb"

quoted() {
  printf "'%s'" "${1//\'/\'\'}"
}

script=$(mktemp)
log=$(mktemp)
trap 'rm -f "$script" "$log"' EXIT

{
  echo "SET SQL DIALECT 3;"
  echo "SET NAMES UTF8;"
  echo "SET BAIL ON;"
  echo "CONNECT $(quoted "$database") USER 'SYSDBA' PASSWORD 'masterkey';"
  echo "INPUT $(quoted "$sql_dir/upgrade.sql");"
} >"$script"

# Every change commits on its own; one that fails leaves the file as the last one left it.
if ! isql-fb -b -q -ch UTF8 -i "$script" >"$log" 2>&1 || grep -q "^Statement failed" "$log"; then
  cat "$log" >&2
  if grep -q "Database already opened with engine instance" "$log"; then
    fail "$database is in use; close the program on it and stop its scheduled runs, then run this again"
  fi
  fail "could not migrate $database"
fi
echo "$database"
