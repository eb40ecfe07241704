#!/usr/bin/env bash
# The navigator's Prior and Next repeat while held. When the move cannot be made because the row
# being left cannot be posted (a new row without its required identifier), the error is shown and
# logged once, and the repeating stops: one box, one line in ERRORES.TXT. A repeat that goes on
# behind the box stacks box upon box and fills the log.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# F5, a row inserted before the first one, a rate typed into it; no identifier.
first_row_without_identifier() {
  dt_connect
  dt_open_editor F5
  dt_f5_row_without_identifier ctrl+Home Insert
}

# Waits a moment for boxes and log lines to stop coming, then wants exactly one of each; the box
# answered, the program goes on and ends normally.
expect_one_box_and_one_line() {
  local boxes lines box
  dt_wait_box 10 "no required-field box" > /dev/null
  dt_stays_alive 1.5 "after the required-field box"
  boxes=$(dt_boxes | wc -l)
  lines=$(grep -c . "$dt_appdir/ERRORES.TXT" || true)
  [ "$boxes" = 1 ] && [ "$lines" = 1 ] ||
    dt_fail "$1: $boxes boxes and $lines lines in ERRORES.TXT, one of each expected"
  box=$(dt_boxes)
  dt_answer_box "$box"
  dt_stays_alive 1 "after the box"
  dt_has_no_box || dt_fail "another box came after the first one's OK"
  dt_close_program
}

# Control: one click on Next gives one box and one line.
click_next() {
  first_row_without_identifier
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_navigator_button Next)
  expect_one_box_and_one_line "a click on Next"
}

hold_next() {
  first_row_without_identifier
  # shellcheck disable=SC2046
  dt_hold "$dt_window" $(dt_f5_navigator_button Next) 0.6
  expect_one_box_and_one_line "Next held for 0.6 s"
}

dt_case control-click-next click_next
dt_case hold-next hold_next
dt_finish
