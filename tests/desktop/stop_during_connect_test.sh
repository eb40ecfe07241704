#!/usr/bin/env bash
# A stop while the window connects to a server that takes the connection and never answers (a
# listener of the scenario's own on 127.0.0.1): the clerk's window has no connection limit, yet
# SIGTERM, SIGINT and SIGHUP each end the program within 5 seconds with 128 + the signal, whatever
# the database client is doing meanwhile.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 1

# It ends by itself, and holds none of the scenario's output open, so nothing waits for it.
listener_port=$dt_scratch/listener-port
timeout 110 python3 -c '
import socket, sys, time
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(16)
print(listener.getsockname()[1], flush=True)
time.sleep(300)
' > "$listener_port" 2> /dev/null < /dev/null &
dt_poll 5 test -s "$listener_port" || dt_abort "no silent listener"
dt_server_text="127.0.0.1/$(cat "$listener_port"):/srv/tandrel"

# The program must still be there 3 s into the connect (it waits as long as it takes), then stop.
connect_and_stop() {
  local signal=$1 number
  number=$(kill -l "$signal")
  dt_type_login
  dt_stays_alive 3 "while connecting to the silent server"
  kill -s "$signal" "$dt_app_pid"
  dt_wait_exit 5 || dt_fail "SIG$signal left the connecting window running for 5 s"
  [ "$dt_exit_status" = $((128 + number)) ] ||
    dt_fail "SIG$signal ended the program with $(dt_status_text "$dt_exit_status"), not $((128 + number))"
}

dt_case sigterm connect_and_stop TERM
dt_case sigint connect_and_stop INT
dt_case sighup connect_and_stop HUP
dt_finish
