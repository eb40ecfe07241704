#!/usr/bin/env bash
# Esc in the drop-down calendar of a date cell closes the calendar only. It must not reach the main
# window, whose own Esc closes the program and drops the editor's changes: here a changed factor
# that is in the editor's change log and not yet stored.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# F5, the factor of the last row changed and the row left (Up), then the first cell of the row
# above: a click there shows its editor and Alt+Down drops the calendar down.
calendar_over_changed_factor() {
  dt_connect
  dt_open_editor F5
  dt_f5_change_factor
  dt_key Up Home
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_cell 0 1)
  dt_key alt+Down
  dt_poll 5 dt_has_popup || dt_fail "Alt+Down did not drop the calendar down"
}

# Control: Enter closes the calendar and accepts its day (the same day), and F5 stores the factor.
enter_in_calendar() {
  calendar_over_changed_factor
  dt_key Return
  dt_poll 5 dt_has_no_popup || dt_fail "Enter did not close the calendar"
  dt_expect_factor_stored
  dt_close_program
}

escape_in_calendar() {
  calendar_over_changed_factor
  dt_key Escape
  dt_stays_alive 1 "Esc in the calendar"
  dt_poll 5 dt_has_no_popup || dt_fail "Esc did not close the calendar"
  dt_expect_factor_stored
  dt_close_program
}

dt_case control-enter-in-calendar enter_in_calendar
dt_case escape-in-calendar escape_in_calendar
dt_finish
