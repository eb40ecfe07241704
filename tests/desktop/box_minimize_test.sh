#!/usr/bin/env bash
# A modal window of the program (a message box, the find dialog) blocks the main window until it
# is answered; minimized, it would leave the clerk a window that takes no input and nothing to
# answer. The window manager's minimize (xdotool windowminimize, as the title bar's button asks
# it) must leave such a window viewable, or the program must show it again at once.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# Asks the window manager to minimize the window; two seconds later it must be viewable. Then the
# key given answers it (Enter for a box, Esc for the find dialog) and the program ends normally.
expect_stays_viewable() {
  local window=$1 what=$2 key=$3 offered="does not offer minimizing"
  if xprop -id "$window" _NET_WM_ALLOWED_ACTIONS | grep -q _NET_WM_ACTION_MINIMIZE; then
    offered="offers minimizing it"
  fi
  dt_xdo windowminimize "$window"
  dt_stays_alive 2 "after minimizing $what"
  dt_viewable "$window" || dt_fail "$what was minimized out of sight (the window manager $offered)"
  dt_focus "$window"
  dt_key "$key"
  dt_poll 5 dt_window_gone "$window" || dt_fail "$key did not close $what"
  dt_close_program
}

# Control: the window manager does minimize the main window, and activating it shows it again.
main_window() {
  dt_connect
  dt_xdo windowminimize "$dt_window"
  dt_poll 3 dt_window_gone "$dt_window" || dt_fail "the main window was not minimized"
  dt_xdo windowactivate "$dt_window"
  dt_poll 3 dt_viewable "$dt_window" || dt_fail "the main window did not come back"
  dt_close_program
}

# The box of a row the editor refuses: a new row without identifier, left with Up.
error_box() {
  local box
  dt_connect
  dt_open_editor F5
  dt_f5_row_without_identifier Insert
  dt_key Up
  box=$(dt_wait_box 10 "no box for the row without identifier")
  expect_stays_viewable "$box" "the error box" Return
}

# The confirmation of Ctrl+Delete.
confirm_box() {
  local box
  dt_connect
  dt_open_editor F5
  dt_key ctrl+Delete
  box=$(dt_wait_box 10 "Ctrl+Delete asked nothing")
  expect_stays_viewable "$box" "the confirmation box" Return
}

find_dialog() {
  dt_connect
  dt_open_editor F7
  dt_open_find_dialog
  expect_stays_viewable "$dt_find_dialog" "the find dialog" Escape
}

dt_case control-main-window main_window
dt_case error-box error_box
dt_case confirm-box confirm_box
dt_case find-dialog find_dialog
dt_finish
