#!/usr/bin/env bash
# Creates a company database SERVER_DIR/datos/COMPANY/tandrel.fdb with the embedded Firebird engine:
# schema, posting procedures and reference data, and with --demo DAYS a sales history of DAYS days up to
# today with planned closing adjustments covering today.
set -euo pipefail

usage() {
  echo "usage: $(basename "$0") SERVER_DIR COMPANY [--demo DAYS]" >&2
  exit 2
}

fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}

[ $# -eq 2 ] || [ $# -eq 4 ] || usage
server_dir=$1
company=$2
demo_days=0
if [ $# -eq 4 ]; then
  [ "$3" = "--demo" ] || usage
  [[ "$4" =~ ^[1-9][0-9]{0,3}$ ]] || fail "DAYS must be a whole number from 1 to 9999, not '$4'"
  demo_days=$4
fi
[ -n "$server_dir" ] || fail "SERVER_DIR is empty"
[[ "$company" =~ ^[A-Za-z0-9_-]+$ ]] || fail "COMPANY must be letters, digits, '_' or '-', not '$company'"
for tool in isql-fb gfix; do
  command -v $tool >/dev/null || fail "$tool not found (package firebird3.0-utils)"
done

sql_dir=$(cd "$(dirname "$0")/../companydb" && pwd)
mkdir -p "$server_dir/datos/$company"
database="$(cd "$server_dir/datos/$company" && pwd)/tandrel.fdb"
[ ! -e "$database" ] || fail "$database already exists; it is left as it is"

quoted() {
  printf "'%s'" "${1//\'/\'\'}"
}

header=$(mktemp)
script=$(mktemp)
log=$(mktemp)
created=0
cleanup() {
  status=$?
  rm -f "$header" "$script" "$log"
  if [ $status -ne 0 ] && [ $created -eq 1 ]; then
    rm -f "$database"
  fi
}
trap cleanup EXIT

run_isql() {
  if ! isql-fb -b -q -ch UTF8 -i "$1" >"$log" 2>&1 || grep -q "^Statement failed" "$log"; then
    cat "$log" >&2
    fail "could not create $database"
  fi
}

run_gfix() {
  gfix "$@" "$database" -user SYSDBA >"$log" 2>&1 || { cat "$log" >&2; fail "could not create $database"; }
}

{
  echo "SET SQL DIALECT 3;"
  echo "SET NAMES UTF8;"
  echo "SET BAIL ON;"
  echo "CREATE DATABASE $(quoted "$database") USER 'SYSDBA' PASSWORD 'masterkey'"
  echo "  PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8;"
} >"$header"

{
  echo "SET SQL DIALECT 3;"
  echo "SET NAMES UTF8;"
  echo "SET BAIL ON;"
  echo "CONNECT $(quoted "$database") USER 'SYSDBA' PASSWORD 'masterkey';"
  # upgrade.sql: what was added to the schema later, shared with migrate-company-db.sh.
  for part in schema upgrade procedures seed grants; do
    echo "INPUT $(quoted "$sql_dir/$part.sql");"
  done
  if [ "$demo_days" -gt 0 ]; then
    echo "INPUT $(quoted "$sql_dir/demo.sql");"
    echo "EXECUTE PROCEDURE DEMO_GENERAR($demo_days, CURRENT_DATE);"
    echo "COMMIT;"
    echo "DROP PROCEDURE DEMO_GENERAR;"
    echo "COMMIT;"
  fi
} >"$script"

created=1
run_isql "$header"
# Filling the database without a disk flush per write is several times faster; the finished database
# flushes every write again.
run_gfix -write async
run_isql "$script"
run_gfix -write sync
echo "$database"
