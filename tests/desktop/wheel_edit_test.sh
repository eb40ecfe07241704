#!/usr/bin/env bash
# A record move by the mouse wheel or the grid's scroll bar, while the cell editor holds a text the
# field refuses (an impossible date) or the row lacks a required field, must show the error box and
# leave the program running with the edits made so far: the clerk fixes or cancels the row and
# stores the rest. An error leaving the wheel or scroll bar handler unhandled ends the whole program.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# F5, the factor of the last row (rate 0) to 0.5, then Down appends a row, whose first day gets an
# impossible date; the mouse then moves the record.
change_factor_then_bad_date() {
  dt_connect
  dt_open_editor F5
  dt_f5_change_factor
  dt_key Down Home
  dt_type 31/02/2026
}

# The new row is dropped with the navigator's Cancel.
cancel_new_row() {
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_navigator_button Cancel)
}

# F5 stores the factor, and the program ends normally.
expect_factor_stored() {
  dt_expect_factor_stored
  dt_close_program
}

expect_box_then_factor_stored() {
  local box
  box=$(dt_wait_box 10 "$1: no error box")
  dt_answer_box "$box"
  dt_stays_alive 1 "after the error box"
  cancel_new_row
  expect_factor_stored
}

# Control: with the new row cancelled first, the same wheel notch moves between the rows and the
# factor is stored.
wheel_after_cancel() {
  change_factor_then_bad_date
  cancel_new_row
  # shellcheck disable=SC2046
  dt_wheel down "$dt_window" $(dt_f5_cell 1 1)
  expect_factor_stored
}

wheel_over_bad_date() {
  change_factor_then_bad_date
  # shellcheck disable=SC2046
  dt_wheel down "$dt_window" $(dt_f5_cell 1 1)
  expect_box_then_factor_stored "a wheel notch over the grid"
}

# The up arrow of the grid's vertical scroll bar, at the grid's right edge.
scroll_bar_over_bad_date() {
  change_factor_then_bad_date
  dt_click "$dt_window" $((DT_F5_GRID_X + 292)) $((DT_F5_GRID_Y + 10))
  expect_box_then_factor_stored "a click on the scroll bar's arrow"
}

# A new row with a rate but no identifier: moving off it by the wheel fails with the required-field
# box; after its OK the program goes on.
wheel_over_row_without_identifier() {
  local box
  dt_connect
  dt_open_editor F5
  dt_f5_row_without_identifier ctrl+End Down
  # shellcheck disable=SC2046
  dt_wheel up "$dt_window" $(dt_f5_cell 1 1)
  box=$(dt_wait_box 10 "no required-field box")
  dt_answer_box "$box"
  dt_stays_alive 1 "after the required-field box"
  dt_close_program
}

dt_case control-wheel-after-cancel wheel_after_cancel
dt_case wheel-over-bad-date wheel_over_bad_date
dt_case scroll-bar-over-bad-date scroll_bar_over_bad_date
dt_case wheel-over-row-without-identifier wheel_over_row_without_identifier
dt_finish
