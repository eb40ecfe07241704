#!/usr/bin/env bash
# A private Firebird 3 server for the tests, listening on 127.0.0.1 only, from a folder of its own.
#   test-server.sh start FOLDER   makes FOLDER (engine root, lock folder, a copy of the security
#                                 database with a new SYSDBA password), starts the server on a free
#                                 port and writes FOLDER/env: CONTADO_TEST_SERVER=127.0.0.1/PORT and
#                                 CONTADO_TEST_SERVER_PASSWORD=...
#   test-server.sh halt FOLDER    kills the server at once (SIGKILL), as a crash or a power cut would.
#   test-server.sh restart FOLDER starts it again on the same port after a halt.
#   test-server.sh stop FOLDER    stops it (SIGTERM, then SIGKILL after 20 s) and removes FOLDER.
# Needs package firebird3.0-server (the server binary and its security database) and root, since the
# server runs as user firebird.
set -euo pipefail

engine=/usr/lib/x86_64-linux-gnu/firebird/3.0
server=/usr/sbin/firebird
security=/var/lib/firebird/3.0/system/security3.fdb

fail() {
  echo "test-server.sh: $*" >&2
  exit 1
}

port_in_use() {
  (exec 3<> "/dev/tcp/127.0.0.1/$1") 2> /dev/null
}

wait_for() {
  local tries=$1
  shift
  while ! "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.2
  done
}

start() {
  local folder=$1
  [ -x "$server" ] && [ -f "$security" ] || fail "$server or $security missing (package firebird3.0-server)"
  id firebird > /dev/null 2>&1 || fail "user firebird missing"
  [ ! -e "$folder" ] || fail "$folder exists already"
  mkdir -p "$folder/root" "$folder/lock" "$folder/tmp"
  for item in firebird.msg plugins plugins.conf UDF lib; do
    ln -s "$engine/$item" "$folder/root/$item"
  done
  # A real intl folder: the engine finds its character-set module again by its real path.
  cp -r "$engine/intl" "$folder/root/intl"
  cp "$security" "$folder/security3.fdb"
  : > "$folder/root/databases.conf"

  local port
  for port in $(shuf -i 20000-60999 -n 40); do
    port_in_use "$port" || break
  done
  port_in_use "$port" && fail "no free port found"
  cat > "$folder/root/firebird.conf" << CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $folder/security3.fdb
ServerMode = Super
AuthServer = Srp
UserManager = Srp
CONF

  local password
  password=$(od -An -N9 -tx1 /dev/urandom | tr -d ' \n')
  FIREBIRD="$folder/root" FIREBIRD_LOCK="$folder/lock" FIREBIRD_TMP="$folder/tmp" \
    isql-fb -q -user SYSDBA "$folder/security3.fdb" > "$folder/password.log" 2>&1 << SQL ||
create or alter user SYSDBA password '$password' using plugin Srp;
commit;
SQL
    { cat "$folder/password.log" >&2; fail "could not set the SYSDBA password"; }
  rm -rf "$folder/lock"/*
  chmod 755 "$folder"
  chown -R firebird:firebird "$folder/root" "$folder/lock" "$folder/tmp" "$folder/security3.fdb"

  printf 'CONTADO_TEST_SERVER=127.0.0.1/%s\nCONTADO_TEST_SERVER_PASSWORD=%s\nCONTADO_TEST_SERVER_FOLDER=%s\n' \
    "$port" "$password" "$folder" > "$folder/env"
  chmod 600 "$folder/env"
  echo "$port" > "$folder/port"
  launch "$folder"
}

launch() {
  local folder=$1 port
  port=$(cat "$folder/port")
  FIREBIRD="$folder/root" FIREBIRD_LOCK="$folder/lock" FIREBIRD_TMP="$folder/tmp" \
    setsid runuser -u firebird -- "$server" > "$folder/server.log" 2>&1 < /dev/null &
  local runner=$!
  if ! wait_for 150 port_in_use "$port"; then
    cat "$folder/server.log" "$folder/root/firebird.log" 2> /dev/null >&2 || true
    kill -KILL "$runner" 2> /dev/null || true
    fail "the server did not listen on 127.0.0.1:$port"
  fi
  # runuser starts the server in a process group of its own: the server's own id is kept.
  pgrep -P "$runner" > "$folder/pid" || fail "the server process was not found"
}

halt() {
  local folder=$1 pid
  pid=$(cat "$folder/pid")
  kill -KILL "$pid" 2> /dev/null || true
  wait_for 100 eval "! kill -0 $pid 2> /dev/null" || fail "the server did not end"
  wait_for 100 eval "! port_in_use $(cat "$folder/port")" || fail "the port stayed open"
}

stop() {
  local folder=$1
  if [ -f "$folder/pid" ]; then
    local pid
    pid=$(cat "$folder/pid")
    kill -TERM "$pid" 2> /dev/null || true
    if ! wait_for 100 eval "! kill -0 $pid 2> /dev/null"; then
      kill -KILL "$pid" 2> /dev/null || true
    fi
  fi
  rm -rf "$folder"
}

usage="usage: test-server.sh start|halt|restart|stop FOLDER"
[ $# -eq 2 ] || fail "$usage"
case $1 in
  start) start "$2" ;;
  halt) halt "$2" ;;
  restart) launch "$2" ;;
  stop) stop "$2" ;;
  *) fail "$usage" ;;
esac
