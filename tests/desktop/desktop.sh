# The real-desktop tier: sourced by each scenario of tests/desktop/. It starts a private X server
# (Xvfb) with the openbox window manager and the Spanish keyboard layout, runs the real program on a
# fresh embedded company, drives it with xdotool (keys, clicks, wheel) and judges it by the database
# rows (isql-fb), the screen's pixels (ImageMagick) and the exit status. Everything it starts is
# stopped when the scenario ends, however it ends; every wait has a limit.
#
#   source "$(dirname "$0")/desktop.sh" PROGRAM      PROGRAM: the built contado (its driver beside it)
#
# A scenario is a list of cases: `dt_case NAME FUNCTION` runs each on a program of its own and the
# scenario fails when one of them fails. Exit status 77 means the desktop tools are not installed.

set -euo pipefail
shopt -s extglob

dt_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dt_root=$(cd "$dt_here/../.." && pwd)
dt_scenario=$(basename "$0" .sh)
dt_program=$(realpath "${1:?usage: $0 PATH_TO_CONTADO}")
dt_start_time=$SECONDS

DT_MAIN_TITLE='^Contabilizar ventas de contado$'
DT_USER=SYSDBA
DT_PASSWORD=masterkey
DT_COMPANY=01

dt_log() {
  printf '[%3ds] %s\n' $((SECONDS - dt_start_time)) "$*" >&2
}

# ---------------------------------------------------------------------------------------------
# Set-up and teardown

dt_require_tools() {
  local tool missing=()
  for tool in Xvfb openbox xdotool import convert compare setxkbmap xprop xwininfo isql-fb gfix setpriv flock; do
    command -v "$tool" > /dev/null || missing+=("$tool")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: not installed: ${missing[*]} (scripts/setup.sh installs them)" >&2
    exit 77
  fi
  [ -x "$dt_program" ] || { echo "FAILED: no program at $dt_program" >&2; exit 1; }
}

dt_scratch=
dt_status_file=/nonexistent
dt_xvfb_pid=
dt_wm_pid=
dt_app_pid=
dt_watchdog_pid=
dt_failures=()

dt_stop_pid() {
  local pid=$1
  [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null || return 0
  kill -TERM "$pid" 2> /dev/null || true
  dt_poll 3 dt_ended_or "$pid" false || true
  kill -KILL "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
}

# Ends a program still running: SIGTERM, which it answers by ending within seconds, else SIGKILL.
dt_stop_program() {
  [ -n "$dt_app_pid" ] && dt_alive || return 0
  kill -TERM "$dt_app_pid" 2> /dev/null || true
  dt_poll 3 dt_has_ended && return 0
  kill -KILL "$dt_app_pid" 2> /dev/null || true
  dt_poll 3 dt_has_ended || true
}

dt_teardown() {
  local status=$?
  trap - EXIT INT TERM
  dt_stop_program
  dt_stop_pid "$dt_wm_pid"
  dt_stop_pid "$dt_xvfb_pid"
  [ -z "$dt_watchdog_pid" ] || kill "$dt_watchdog_pid" 2> /dev/null || true
  if [ -n "$dt_scratch" ] && [ "${DESKTOP_KEEP:-0}" != 1 ]; then
    rm -rf "$dt_scratch"
  elif [ -n "$dt_scratch" ]; then
    echo "kept $dt_scratch" >&2
  fi
  exit "$status"
}

# A scenario that runs past its limit is ended: its X server goes first, so that whatever the case
# waits for fails at once, then the scenario itself (and its teardown).
dt_watchdog() {
  local limit=$1 scenario_pid=$$ xvfb_pid=$dt_xvfb_pid
  (
    sleep "$limit" > /dev/null 2>&1 &
    trap 'kill $! 2> /dev/null; exit 0' TERM
    wait $!
    echo "FAILED: $dt_scenario ran longer than ${limit}s" >&2
    kill -TERM "$xvfb_pid" "$scenario_pid" 2> /dev/null
  ) > /dev/null &
  dt_watchdog_pid=$!
}

# Microseconds of the wall clock.
dt_clock() {
  echo "${EPOCHREALTIME/./}"
}

# Polls a command every 0.1 s until it succeeds; fails once the limit in seconds (a fraction is
# fine: 1.5) has passed on the wall clock.
dt_poll() {
  local whole=${1%%.*} fraction=000000 deadline
  [[ $1 != *.* ]] || fraction=${1#*.}000000
  deadline=$(($(dt_clock) + ${whole:-0} * 1000000 + 10#${fraction:0:6}))
  shift
  until "$@" 2> /dev/null; do
    [ "$(dt_clock)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

dt_window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

dt_has_display_number() {
  [ -s "$dt_scratch/display" ]
}

# Whether a process has ended, or a condition holds: a start that fails is not waited for.
dt_ended_or() {
  ! kill -0 "$1" 2> /dev/null || "${@:2}"
}

# The X server on a free display (Xvfb picks one and tells it once it accepts connections), openbox
# on it, and the Spanish layout with its dead acute key.
dt_start_desktop() {
  dt_xvfb_pid=
  setpriv --pdeathsig KILL Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3> "$dt_scratch/display" > "$dt_scratch/xvfb.log" 2>&1 &
  dt_xvfb_pid=$!
  if ! dt_poll 10 dt_ended_or "$dt_xvfb_pid" dt_has_display_number || ! dt_has_display_number; then
    cat "$dt_scratch/xvfb.log" >&2
    dt_abort "Xvfb did not start"
  fi
  DISPLAY=":$(head -n 1 "$dt_scratch/display")"
  export DISPLAY
  setpriv --pdeathsig KILL openbox --sm-disable > "$dt_scratch/openbox.log" 2>&1 &
  dt_wm_pid=$!
  if ! dt_poll 10 dt_ended_or "$dt_wm_pid" dt_window_manager_running || ! dt_window_manager_running; then
    cat "$dt_scratch/openbox.log" >&2
    dt_abort "openbox did not start on $DISPLAY"
  fi
  setxkbmap -layout es || dt_abort "setxkbmap could not set the Spanish layout"
  dt_log "desktop $DISPLAY: Xvfb $dt_xvfb_pid, openbox $dt_wm_pid, layout es"
}

# Stops the scenario at once: the desktop itself could not be made.
dt_abort() {
  echo "FAILED: $dt_scenario: $*" >&2
  exit 1
}

# A company database made by the project's script with DAYS days of demo sales up to today and the
# scenario's set-up SQL (an optional second argument) run on it: the template every case copies.
# Made once per day, sources and set-up in build/desktop-companies (under a lock, as ctest may
# start scenarios side by side) and copied from there.
dt_make_company() {
  local days=$1 setup=${2:-} cache sources today cached
  cache=$(dirname "$(dirname "$dt_program")")/desktop-companies
  sources=$(cat "$dt_root/scripts/create-company-db.sh" "$dt_root"/companydb/*.sql | sha1sum | cut -c1-12)
  today=$(date +%Y%m%d)
  cached=$cache/$sources-demo$days-$(sha1sum <<< "$setup" | cut -c1-8)-$today.fdb
  mkdir -p "$cache"
  (
    flock 9
    if [ ! -e "$cached" ]; then
      rm -rf "$dt_scratch/template"
      "$dt_root/scripts/create-company-db.sh" "$dt_scratch/template" "$DT_COMPANY" --demo "$days" \
        > "$dt_scratch/create.log" 2>&1 || { cat "$dt_scratch/create.log" >&2; exit 1; }
      dt_database=$dt_scratch/template/datos/$DT_COMPANY/tandrel.fdb
      # Cases need no disk flush per write; this keeps the set-up and the program's commits fast.
      gfix -write async "$dt_database" -user "$DT_USER" > /dev/null
      if [ -n "$setup" ] && ! dt_sql "$setup" > "$dt_scratch/setup.log"; then
        cat "$dt_scratch/setup.log" >&2
        exit 1
      fi
      mv "$dt_database" "$cached.new"
      mv "$cached.new" "$cached"
      # Templates of other sources or days are stale.
      find "$cache" -name '*.fdb' ! -name "$sources-demo*-$today.fdb" -delete
    fi
  ) 9> "$cache/lock" || dt_abort "no company database"
  dt_template=$dt_scratch/template.fdb
  cp "$cached" "$dt_template"
}

dt_init() {
  dt_require_tools
  dt_scratch=$(mktemp -d "/tmp/contado-desktop-$dt_scenario.XXXXXX")
  trap dt_teardown EXIT
  trap 'exit 1' INT TERM
  ulimit -c 0
  rm -f "$dt_artifacts/$dt_scenario"-*.png
  mkdir -m 0700 "$dt_scratch/runtime"
  export XDG_RUNTIME_DIR="$dt_scratch/runtime"
  dt_start_desktop
  dt_watchdog "${DESKTOP_LIMIT:-110}"
}

# ---------------------------------------------------------------------------------------------
# The program

# Starts the program with a fresh copy of the company: a scratch application directory with the
# server list, the settings file naming it (found through XDG_CONFIG_DIRS), and the embedded engine's
# machine-wide lock folder. The server list holds the case's server folder, or dt_server_text when
# a scenario sets it. Sets dt_app_pid, dt_window, dt_appdir and dt_database.
dt_start_program() {
  local case_dir=$dt_scratch/case-$dt_case_number
  rm -rf "$case_dir"
  mkdir -p "$case_dir/server/datos/$DT_COMPANY" "$case_dir/app" "$case_dir/xdg/Ombrin"
  dt_database=$case_dir/server/datos/$DT_COMPANY/tandrel.fdb
  cp "$dt_template" "$dt_database"
  dt_appdir=$case_dir/app
  printf '%s\n' "${dt_server_text:-$case_dir/server}" > "$dt_appdir/SERVIDORES.cfg"
  printf '[General]\nDirectorio=%s\n' "$dt_appdir" > "$case_dir/xdg/Ombrin/TandrelERP2017.conf"
  dt_program_log=$case_dir/program.log
  dt_status_file=$case_dir/status
  # A shell of its own waits for the program and writes its exit status down (and keeps the
  # notice of a program killed by a signal out of the scenario's output).
  (
    cd "$case_dir"
    env -u FIREBIRD -u FIREBIRD_LOCK -u QT_IM_MODULE -u ISC_PASSWORD \
      QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL= XDG_CONFIG_DIRS="$case_dir/xdg" NO_AT_BRIDGE=1 \
      setpriv --pdeathsig KILL "$dt_program" > "$dt_program_log" 2>&1 &
    echo $! > "$case_dir/pid"
    status=0
    wait $! || status=$?
    echo $status > "$dt_status_file.new"
    mv "$dt_status_file.new" "$dt_status_file"
  ) 2> /dev/null &
  dt_poll 5 test -s "$case_dir/pid" || dt_fail "the program did not start"
  dt_app_pid=$(cat "$case_dir/pid")
  dt_window=$(dt_wait_window "$DT_MAIN_TITLE" 15) || dt_fail "the main window did not appear"
  dt_focus "$dt_window"
}

dt_alive() {
  [ ! -s "$dt_status_file" ]
}

dt_has_ended() {
  ! dt_alive
}

# Waits for the program to end and sets dt_exit_status (134 abort, 139 segmentation fault); fails
# when it runs past the limit.
dt_wait_exit() {
  dt_exit_status=
  dt_poll "$1" test -s "$dt_status_file" || return 1
  dt_exit_status=$(cat "$dt_status_file")
}

# What an ended program's status means, for the failure messages.
dt_status_text() {
  local reason
  case $1 in
    134)
      reason=$(grep -m 1 -E "terminate called|what\(\):|Abort" "$dt_program_log" || true)
      echo "134 (aborted${reason:+: $reason})"
      ;;
    139) echo "139 (segmentation fault)" ;;
    *) echo "$1" ;;
  esac
}

# Fails the case unless the program is still running; a program that ended names its status.
dt_expect_alive() {
  dt_alive && return 0
  dt_wait_exit 1 || true
  dt_fail "$1: the program ended with status $(dt_status_text "$dt_exit_status")"
}

# Fails the case when the program ends within the next seconds (an abort after a box, say).
dt_stays_alive() {
  ! dt_poll "$1" dt_has_ended || dt_expect_alive "$2"
}

# Ends the program with Esc on its main window (which closes it) and expects status 0.
dt_close_program() {
  dt_expect_alive "before closing"
  dt_focus "$dt_window"
  dt_key Escape
  dt_wait_exit 10 || dt_fail "the program did not end after Esc"
  [ "$dt_exit_status" = 0 ] || dt_fail "the program ended with status $(dt_status_text "$dt_exit_status") after Esc"
}

# The program has the case's company database open.
dt_connected() {
  local descriptor
  for descriptor in "/proc/$dt_app_pid/fd"/*; do
    [ "$(readlink "$descriptor")" != "$dt_database" ] || return 0
  done
  return 1
}

# Types the login as the clerk does: from the server field, Tab to the user, then the password and
# the company, each followed by Enter; leaving the company field starts the connection.
dt_type_login() {
  dt_key Tab
  dt_type "$DT_USER"
  dt_key Return
  dt_type "$DT_PASSWORD"
  dt_key Return
  dt_type "$DT_COMPANY"
  dt_key Return
}

# Connects with the login typed and waits until the company database is open.
dt_connect() {
  dt_type_login
  dt_poll 20 dt_connected || dt_fail "the company database was not opened"
  # The connection's handler ends by enabling "F2: Ejecutar", whose picture turns green.
  dt_poll 10 dt_pixel_is "$dt_window" 92 211 '#189D29' || dt_fail "F2: Ejecutar was not enabled"
}

# ---------------------------------------------------------------------------------------------
# Windows and input

dt_xdo() {
  timeout 10 xdotool "$@"
}

# The program's viewable windows that the window manager handles, one id per line: the main
# window, its boxes and dialogs and the drop-down calendar (a frameless tool window), but not the
# override-redirect menus.
dt_managed_windows() {
  local window
  for window in $(dt_xdo search --all --onlyvisible --pid "$dt_app_pid" --name '' 2> /dev/null || true); do
    xwininfo -id "$window" 2> /dev/null | grep -q 'Override Redirect State: no' && echo "$window"
  done
  return 0
}

# The first managed window whose name matches the pattern (xdotool's, an extended regular
# expression).
dt_find_window() {
  local window
  for window in $(dt_managed_windows); do
    if grep -qE -- "$1" <<< "$(dt_xdo getwindowname "$window" 2> /dev/null)"; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

# Waits for a managed window whose name matches; fails at the limit or when the program ends.
dt_wait_window() {
  local deadline=$((SECONDS + ${2:-10}))
  while dt_alive; do
    dt_find_window "$1" && return 0
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
  return 1
}

dt_window_type() {
  xprop -id "$1" _NET_WM_WINDOW_TYPE 2> /dev/null
}

# The message boxes: the program's dialogs but the find dialog, whatever their caption ("Error" for
# a refused row, the application's title for the default error box, "Confirm" for a deletion).
dt_boxes() {
  local window
  for window in $(dt_managed_windows); do
    [ "$(dt_xdo getwindowname "$window" 2> /dev/null)" != "Find text" ] || continue
    dt_window_type "$window" | grep -q _NET_WM_WINDOW_TYPE_DIALOG && echo "$window"
  done
  return 0
}

# The program's popups (the drop-down calendar): frameless tool windows, viewable.
dt_popups() {
  local window
  for window in $(dt_managed_windows); do
    dt_window_type "$window" | grep -q _NET_WM_WINDOW_TYPE_UTILITY && echo "$window"
  done
  return 0
}

dt_has_popup() {
  [ -n "$(dt_popups)" ]
}

dt_has_no_popup() {
  [ -z "$(dt_popups)" ]
}

dt_first_box() {
  local boxes
  boxes=$(dt_boxes)
  echo "${boxes%%$'\n'*}"
}

dt_has_box() {
  [ -n "$(dt_boxes)" ]
}

dt_has_no_box() {
  ! dt_has_box
}

dt_is_focused() {
  [ "$(dt_xdo getactivewindow)" = "$1" ]
}

dt_focus() {
  dt_xdo windowactivate "$1" 2> /dev/null || true
  dt_poll 5 dt_is_focused "$1" || dt_fail "window $1 did not take the focus"
}

# Waits for a message box and writes its id; fails the case when none comes or the program ends.
dt_wait_box() {
  local deadline=$((SECONDS + ${1:-10})) box
  while true; do
    dt_expect_alive "${2:-no message box appeared}"
    box=$(dt_first_box)
    [ -z "$box" ] || { echo "$box"; return 0; }
    [ $SECONDS -lt $deadline ] || dt_fail "${2:-no message box appeared}"
    sleep 0.1
  done
}

# Answers the box with Enter (its default button) and waits until it is gone.
dt_answer_box() {
  local box=$1
  dt_focus "$box"
  dt_key Return
  dt_poll 5 dt_window_gone "$box" || dt_fail "the message box did not close on Enter"
}

dt_viewable() {
  xwininfo -id "$1" 2> /dev/null | grep -q 'Map State: IsViewable'
}

dt_window_gone() {
  ! dt_viewable "$1"
}

dt_key() {
  dt_xdo key --clearmodifiers --delay 40 "$@"
}

dt_type() {
  dt_xdo type --delay 40 -- "$1"
}

# Pointer actions at a point of a window given in its own coordinates.
dt_move_to() {
  dt_xdo mousemove --window "$1" "$2" "$3"
  dt_xdo mousemove_relative 1 0
  dt_xdo mousemove_relative -- -1 0
}

dt_click() {
  dt_move_to "$1" "$2" "$3"
  dt_xdo click "${4:-1}"
}

# Holds the left button down over a point for a while (the hold itself is the action).
dt_hold() {
  dt_move_to "$1" "$2" "$3"
  dt_xdo mousedown 1
  sleep "$4"
  dt_xdo mouseup 1
}

# Drags with the left button from one point of a window to another, in steps of 10 pixels.
dt_drag() {
  local window=$1 x=$2 y=$3 to_x=$4 to_y=$5
  dt_move_to "$window" "$x" "$y"
  dt_xdo mousedown 1
  while [ "$x" -ne "$to_x" ] || [ "$y" -ne "$to_y" ]; do
    x=$((x + (to_x > x ? (to_x - x < 10 ? to_x - x : 10) : (x - to_x < 10 ? to_x - x : -10))))
    y=$((y + (to_y > y ? (to_y - y < 10 ? to_y - y : 10) : (y - to_y < 10 ? to_y - y : -10))))
    dt_xdo mousemove --window "$window" "$x" "$y"
  done
  dt_xdo mouseup 1
}

# One notch of the wheel over a point: up or down.
dt_wheel() {
  dt_move_to "$2" "$3" "$4"
  case $1 in
    up) dt_xdo click 4 ;;
    down) dt_xdo click 5 ;;
  esac
}

# ---------------------------------------------------------------------------------------------
# Pixels

# The screen position of a window's client area: "X Y".
dt_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'
}

# Screenshot of the whole screen.
dt_screenshot() {
  timeout 10 import -window root "$1"
}

# A rectangle of a window (its own coordinates) out of a fresh screenshot, as an image file.
dt_grab() {
  local window=$1 x=$2 y=$3 width=$4 height=$5 file=$6 ox oy
  read -r ox oy <<< "$(dt_origin "$window")"
  timeout 10 import -window root -crop "${width}x${height}+$((ox + x))+$((oy + y))" +repage "$file"
}

# The colour "#RRGGBB" of one pixel of a window (its own coordinates).
dt_pixel() {
  local file=$dt_scratch/pixel.png
  dt_grab "$1" "$2" "$3" 1 1 "$file"
  local text
  text=$(convert "$file" -depth 8 txt:-)
  grep -m 1 -o '#[0-9A-F]\{6\}' <<< "$text"
}

# How many pixels differ between two images of one size.
dt_differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

dt_same_image() {
  [ "$(dt_differing_pixels "$1" "$2")" = 0 ]
}

# Screenshots of failed cases go to build/desktop-artifacts (or DESKTOP_ARTIFACTS), named after the
# scenario and the case; those of an earlier run of the scenario are removed at its start.
dt_artifacts=${DESKTOP_ARTIFACTS:-$(dirname "$(dirname "$dt_program")")/desktop-artifacts}

dt_keep_screenshot() {
  mkdir -p "$dt_artifacts"
  dt_screenshot "$dt_artifacts/$dt_scenario-$1.png" 2> /dev/null || true
  echo "  screenshot: $dt_artifacts/$dt_scenario-$1.png" >&2
}

dt_pixel_is() {
  [ "$(dt_pixel "$1" "$2" "$3")" = "$4" ]
}

dt_pixel_is_not() {
  ! dt_pixel_is "$@"
}

# ---------------------------------------------------------------------------------------------
# The posting

# The date picker "Desde:": group box at 0,162, the picker at 45,16 in it, 89 x 21.
DT_DESDE_X=45 DT_DESDE_Y=178

# F2 posts the range of the pickers and ends the program with 0 (something was posted). The days
# posted, as offsets from today ("-1 0": yesterday and today), must be the expected ones.
dt_post_and_expect_days() {
  local expected="$1 $2" posted box deadline=$((SECONDS + 60))
  dt_key F2
  # When nothing was posted a box says so ("No se pudo contabilizar las facturas.") and the program
  # ends with 1 after its OK.
  until dt_wait_exit 0; do
    box=$(dt_first_box)
    [ -z "$box" ] || dt_answer_box "$box"
    [ $SECONDS -lt $deadline ] || dt_fail "the posting did not end the program"
    sleep 0.1
  done
  posted=$(dt_sql_value "SELECT COALESCE((MIN(COMP_FECHA) - CURRENT_DATE) || ' ' ||
                                  (MAX(COMP_FECHA) - CURRENT_DATE), 'none') FROM COMPROBANTE;")
  [ "$posted" = "$expected" ] ||
    dt_fail "posted the days '$posted' (offsets from today), not '$expected'; exit status $(dt_status_text "$dt_exit_status")"
  [ "$dt_exit_status" = 0 ] || dt_fail "the posting ended with status $(dt_status_text "$dt_exit_status")"
}

# ---------------------------------------------------------------------------------------------
# The two adjustment editors, at their fixed places in the main window's client area

DT_HIGHLIGHT='#0078D7'
# F5 "Tarifas": panel at 8,16, its grid at 1,19 in it (303 x 131), its navigator at 1,150 (303 x 18).
DT_F5_CAPTION_X=250 DT_F5_CAPTION_Y=22
DT_F5_GRID_X=9 DT_F5_GRID_Y=35
DT_F5_NAVIGATOR_Y=175
# F7 "Tarifas previstas": the same, 24 pixels further right and 8 further down.
DT_F7_CAPTION_X=274 DT_F7_CAPTION_Y=30

# A point of a cell of the F5 editor's grid, 20 pixels from its left and halfway down: below the
# grid's 2-pixel edge,
# the title row and the data rows take 17 pixels and a line each; the data columns follow the
# 11-pixel indicator and its line with the widths 75, 75, 40, 50, 40, each and a line.
dt_f5_cell() {
  local column=$1 row=$2 lefts=(12 88 164 205 256)
  echo "$((DT_F5_GRID_X + 2 + ${lefts[$column]} + 20)) $((DT_F5_GRID_Y + 2 + 18 * (row + 1) + 8))"
}

# A press in the drop-down zone of a date cell of the F5 editor (its rightmost 17 pixels, column 0
# or 1) shows the cell's editor and drops its calendar down at once; waits for the calendar.
dt_f5_drop_down() {
  local x y
  read -r x y <<< "$(dt_f5_cell "$1" "$2")"
  dt_click "$dt_window" $((x + 47)) "$y"
  dt_poll 5 dt_has_popup || dt_fail "the press on the drop-down zone did not drop the calendar down"
}

# The centre of a navigator button of the F5 editor (widths 43, 44, 43, 43, 43, 44, 43).
dt_f5_navigator_button() {
  local centres=(First 30 Prior 73 Next 117 Last 160 Insert 203 Delete 247 Cancel 290) i
  for ((i = 0; i < ${#centres[@]}; i += 2)); do
    [ "${centres[i]}" != "$1" ] || { echo "${centres[i + 1]} $DT_F5_NAVIGATOR_Y"; return; }
  done
  return 1
}

# Whether an editor ("F5" or "F7") is shown: its caption bar is highlight blue.
dt_editor_open() {
  case $1 in
    F5) dt_pixel_is "$dt_window" "$DT_F5_CAPTION_X" "$DT_F5_CAPTION_Y" "$DT_HIGHLIGHT" ;;
    F7) dt_pixel_is "$dt_window" "$DT_F7_CAPTION_X" "$DT_F7_CAPTION_Y" "$DT_HIGHLIGHT" ;;
  esac
}

dt_editor_closed() {
  ! dt_editor_open "$1"
}

# Opens an editor with its key and waits until it shows; its grid has the focus, on the last row,
# in the first column.
dt_open_editor() {
  dt_key "$1"
  dt_poll 10 dt_editor_open "$1" || dt_fail "the $1 editor did not open"
}

# Closes an editor with its key, which stores its changes, and waits until it is gone.
dt_store_editor() {
  dt_key "$1"
  dt_poll 10 dt_editor_closed "$1" || dt_fail "the $1 editor did not close on $1"
}

# The edit most scenarios make and then expect stored: the factor of the F5 editor's last row, the
# rate 0 (the editor opens on that row, in its first column), becomes 0.5.
dt_f5_change_factor() {
  dt_key Right Right Right
  dt_type 0.5
}

# A row of the F5 editor that cannot be stored: the keys make a new row (Insert, or Down on the
# last row), which gets the rate 3 and no identifier, a required field.
dt_f5_row_without_identifier() {
  dt_key "$@" Right Right Right
  dt_type 3
}

# F5 stores the editor; the factor must then be in AJUSTE_CIERRE.
dt_expect_factor_stored() {
  local count
  dt_store_editor F5
  count=$(dt_sql_value "SELECT COUNT(*) FROM AJUSTE_CIERRE WHERE AJCI_FECINI = CURRENT_DATE
                          AND AJCI_PORC = 0 AND AJCI_FACTOR = 0.5;")
  [ "$count" = 1 ] || dt_fail "the changed factor was not stored (rows of rate 0 with factor 0.5: $count)"
}

# Opens the find dialog over the grid that has the focus: Ctrl+F starts the incremental search,
# Ctrl+F again ends it and opens the dialog. Sets dt_find_dialog.
dt_open_find_dialog() {
  dt_key ctrl+f ctrl+f
  dt_find_dialog=$(dt_wait_window '^Find text$' 10) || dt_fail "Ctrl+F twice did not open the find dialog"
}

# Marks the F7 editor's current row: the keys lead to its factor column, the factor becomes 0.5,
# F7 stores.
dt_f7_mark_row() {
  dt_key "$@"
  dt_type 0.5
  dt_store_editor F7
}

# A column of the rows so marked must hold the expected values (a list, "<null>" when none).
dt_f7_expect_marked() {
  local column=$1 expected=$2 marked
  marked=$(dt_sql_value "SELECT CAST(LIST($column) AS VARCHAR(200)) FROM AJUSTE_CIERRE_AUTO
                          WHERE AJCI_FACTOR = 0.5;")
  [ "$marked" = "$expected" ] || dt_fail "$3 marked the row of $column '$marked', not '$expected'"
}

# ---------------------------------------------------------------------------------------------
# The database

# The engine folder the program prepares for itself, found at the places it tries in their order
# (and where older versions kept it): isql must run the same engine configuration to open the
# database beside the running program.
dt_engine_root() {
  local candidate
  for candidate in ${XDG_RUNTIME_DIR:+"$XDG_RUNTIME_DIR/contado-firebird"} \
      "${XDG_CACHE_HOME:-$HOME/.cache}/contado-firebird" "/tmp/contado-firebird-$(id -u)"; do
    if [ -f "$candidate/firebird.conf" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

# Runs SQL on the case's company database (or dt_database=... for another) through the embedded
# engine, with the program's engine root and lock folder so that both can have it open at once.
dt_sql() {
  local root environment=(FIREBIRD_LOCK=/var/lib/contado/lock)
  root=$(dt_engine_root) && environment+=(FIREBIRD="$root")
  printf 'SET HEADING OFF;\nSET BAIL ON;\n%s\n' "$*" |
    env "${environment[@]}" timeout 60 isql-fb -q -ch UTF8 -user "$DT_USER" -password "$DT_PASSWORD" \
      "$dt_database" 2>&1
}

# The single value a query answers, blanks trimmed; "<null>" for null.
dt_sql_value() {
  local output
  output=$(dt_sql "$1") || { echo "$output" >&2; return 1; }
  output=$(grep -m 1 -v '^[[:space:]]*$' <<< "$output")
  output=${output##+([[:space:]])}
  echo "${output%%+([[:space:]])}"
}

# A day in the program's short date format (that of its locale, C.UTF-8: mm/dd/yyyy).
dt_short_date() {
  local format
  format=$(LC_ALL=C.UTF-8 locale d_fmt)
  date -d "$1" +"${format//%y/%Y}"
}

# ---------------------------------------------------------------------------------------------
# Cases

dt_case_number=0
dt_case_name=

# The case failed: why, the screen and the program's last words; the scenario goes on with the next.
dt_fail() {
  touch "$dt_scratch/failed-$dt_case_number"
  echo "FAILED: $dt_scenario/$dt_case_name: $*" >&2
  dt_keep_screenshot "$dt_case_name"
  [ -z "${dt_program_log:-}" ] || tail -n 5 "$dt_program_log" | sed 's/^/  program: /' >&2
  exit 1
}

# Runs a case in a subshell of its own (so a failure ends only the case) on a fresh program.
dt_case() {
  local name=$1 function=$2 status
  shift 2
  dt_case_number=$((dt_case_number + 1))
  dt_log "case $name"
  set +e
  (
    set -eE
    dt_case_name=$name
    trap 'dt_stop_program' EXIT
    # A step of the case itself that failed without saying why (dt_fail says why, also from a
    # command substitution, where the trap is not meant for the steps that may fail).
    dt_case_level=$BASH_SUBSHELL
    trap '[ "$BASH_SUBSHELL" != "$dt_case_level" ] || [ -e "$dt_scratch/failed-$dt_case_number" ] ||
      echo "FAILED: $dt_scenario/$dt_case_name: a step failed: $BASH_COMMAND" >&2' ERR
    dt_start_program
    "$function" "$@"
  )
  status=$?
  set -e
  if [ $status -eq 0 ]; then
    dt_log "case $name: passed"
  else
    dt_failures+=("$name")
  fi
}

# The scenario's verdict, its last line.
dt_finish() {
  if [ ${#dt_failures[@]} -gt 0 ]; then
    echo "FAILED: $dt_scenario: ${dt_failures[*]} ($((SECONDS - dt_start_time))s)" >&2
    exit 1
  fi
  echo "passed: $dt_scenario ($((SECONDS - dt_start_time))s)"
}
