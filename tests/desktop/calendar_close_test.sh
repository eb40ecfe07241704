#!/usr/bin/env bash
# The drop-down calendar of a date cell closes when the cell's editor goes away and when the clerk
# picks from it: Insert (a new row, so the editor leaves the cell) must close it, and a release on
# the month name of its title closes it and takes its day, as a release on a day does. Judged by
# the calendar's window and by the last day (F.Hasta) stored for the row: Down in the calendar
# moves its day a week on.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# The calendar's month name, in the calendar window's own coordinates.
month_name_x=82 month_name_y=13

# F5, the calendar of the last row's F.Hasta, a week on.
calendar_a_week_on() {
  dt_connect
  dt_open_editor F5
  dt_f5_drop_down 1 2
  dt_key Down
}

# F5 stores; the last day of the row of rate 0 must be a week from today.
expect_week_on_stored() {
  local days
  dt_poll 3 dt_has_no_popup || dt_fail "$1 did not close the calendar"
  dt_store_editor F5
  days=$(dt_sql_value "SELECT AJCI_FECFIN - CURRENT_DATE FROM AJUSTE_CIERRE
                        WHERE AJCI_FECINI = CURRENT_DATE AND AJCI_PORC = 0;")
  [ "$days" = 7 ] || dt_fail "after $1 the last day stored is $days days from today, not 7"
  dt_close_program
}

# Control: Enter closes the calendar and takes its day.
enter_in_calendar() {
  calendar_a_week_on
  dt_key Return
  expect_week_on_stored "Enter"
}

release_on_month_name() {
  calendar_a_week_on
  dt_click "$(dt_popups)" $month_name_x $month_name_y
  expect_week_on_stored "a click on the month name"
}

insert_in_calendar() {
  dt_connect
  dt_open_editor F5
  dt_f5_drop_down 1 2
  dt_key Insert
  dt_poll 3 dt_has_no_popup || dt_fail "Insert did not close the calendar"
  dt_close_program
}

dt_case control-enter-in-calendar enter_in_calendar
dt_case release-on-month-name release_on_month_name
dt_case insert-in-calendar insert_in_calendar
dt_finish
