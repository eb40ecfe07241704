#!/usr/bin/env bash
# The date pickers must give the posting the day the clerk sees and chooses. A click on the top
# edge of "Desde:" (its first two pixel rows) only puts the focus there; it must not step the
# date. A date typed with its separators, in the short date format, must become that date. Each
# case posts with F2 and reads which days got vouchers: the demo company has sales on the last
# three days.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 3

# A click on the day of "Desde:", in the middle of its height, puts the caret there.
click_desde_day() {
  dt_click "$dt_window" $((DT_DESDE_X + 30)) $((DT_DESDE_Y + ${1:-10}))
}

# Control: the click in the middle leaves today, and today alone is posted.
click_middle() {
  dt_connect
  click_desde_day
  dt_post_and_expect_days 0 0
}

# Then a click on the picker's top pixel row, or on its second one.
click_top_row() {
  dt_connect
  click_desde_day
  click_desde_day 0
  dt_post_and_expect_days 0 0
}

click_second_row() {
  dt_connect
  click_desde_day
  click_desde_day 1
  dt_post_and_expect_days 0 0
}

# Control: yesterday by the keys, Right to the day and Down one day back, posts two days.
arrow_to_yesterday() {
  dt_connect
  dt_key Right Down
  dt_post_and_expect_days -1 0
}

# After connecting the focus is in "Desde:" with its first part selected: yesterday typed whole.
type_yesterday() {
  dt_connect
  dt_type "$(dt_short_date yesterday)"
  dt_post_and_expect_days -1 0
}

dt_case control-click-middle click_middle
dt_case click-top-row click_top_row
dt_case click-second-row click_second_row
dt_case control-arrow-to-yesterday arrow_to_yesterday
dt_case type-yesterday type_yesterday
dt_finish
