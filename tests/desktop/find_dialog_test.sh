#!/usr/bin/env bash
# The find dialog ("Find text", Ctrl+F twice over a grid) searches for exactly the text typed. Its
# list of earlier texts must not complete or replace what is typed: with "ca" searched before and
# Match Case on, "CA" typed and Enter (which always runs Find next) must find the planned
# adjustment of the prefix CA; a text turned into "ca" finds nothing.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# The dialog's controls, in its own coordinates: the text to find and the Close button.
find_text_x=200 find_text_y=19
close_x=454 close_y=48

# F7, the prefix column, the dialog; Match Case on (Alt+C), then the text field.
open_find_dialog() {
  dt_connect
  dt_open_editor F7
  dt_key End
  dt_open_find_dialog
  dt_key alt+c
  dt_click "$dt_find_dialog" $find_text_x $find_text_y
}

# Closes the dialog and marks the row it found.
close_and_expect_found() {
  dt_click "$dt_find_dialog" $close_x $close_y
  dt_poll 5 dt_window_gone "$dt_find_dialog" || dt_fail "Close did not close the find dialog"
  dt_f7_mark_row Left
  dt_f7_expect_marked AJCI_PREFNO CA "$1"
  dt_close_program
}

# Control: with no earlier text, "CA" finds the row.
find_ca() {
  open_find_dialog
  dt_type CA
  dt_key Return
  close_and_expect_found "finding CA"
}

# "ca" searched first (nothing has it in small letters), then the text typed anew.
find_after_lower_case() {
  open_find_dialog
  dt_type ca
  dt_key Return ctrl+a
  dt_type "$1"
  dt_key Return
  close_and_expect_found "finding $1 after ca"
}

find_ca_after_lower_case() {
  find_after_lower_case CA
}

# "C" alone: nothing may be completed after it, and Enter searches "C".
find_c_after_lower_case() {
  find_after_lower_case C
}

dt_case control-find-ca find_ca
dt_case find-ca-after-lower-case find_ca_after_lower_case
dt_case find-c-after-lower-case find_c_after_lower_case
dt_finish
