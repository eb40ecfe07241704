#!/usr/bin/env bash
# F2 with the F5 editor open stores the editor first. A new row there without its required
# identifier cannot be stored: a box says so and nothing is posted. Afterwards the editor is shown
# again on that row, so the clerk fixes or cancels it, and F5 then stores and closes it, instead of
# the same box at every F5.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# F5, a row inserted before the last one, a rate typed into it; no identifier.
new_row_without_identifier() {
  dt_connect
  dt_open_editor F5
  dt_f5_row_without_identifier Insert
}

# Control: the new row cancelled with the navigator, F2 stores the editor and posts today.
cancel_then_post() {
  new_row_without_identifier
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_navigator_button Cancel)
  dt_post_and_expect_days 0 0
}

post_then_fix() {
  local box count
  new_row_without_identifier
  dt_key F2
  box=$(dt_wait_box 10 "F2 showed no box for the row without identifier")
  dt_answer_box "$box"
  dt_stays_alive 1 "after the box"
  dt_poll 5 dt_editor_open F5 || dt_fail "after the box the editor was not shown again"
  dt_has_no_box || dt_fail "a second box after the first"
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_navigator_button Cancel)
  dt_store_editor F5
  dt_has_no_box || dt_fail "storing the editor after cancelling the row showed a box"
  count=$(dt_sql_value "SELECT COUNT(*) FROM AJUSTE_CIERRE WHERE AJCI_FECINI = CURRENT_DATE;")
  [ "$count" = 3 ] || dt_fail "the editor stored $count rows for today, not the 3 rates"
  dt_close_program
}

dt_case control-cancel-then-post cancel_then_post
dt_case post-then-fix post_then_fix
dt_finish
