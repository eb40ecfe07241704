#!/usr/bin/env bash
# Esc stops a long incremental search at once: the key is looked for while the search runs, not
# only after it. 400,000 planned adjustments and, last of all, one whose first day starts with "0"
# (the others start with "1"): typing "0" in the search of F7's F.Desde column walks all of them.
# The Esc goes with Shift held, which the main window leaves alone (a plain Esc would also close
# the program after the search, leaving nothing to look at); a stopped search brings the grid back
# to the row it started from, the first one, which is then marked and stored.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2 "INSERT INTO AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR)
  WITH RECURSIVE N (I) AS (SELECT 0 FROM RDB\$DATABASE UNION ALL SELECT I + 1 FROM N WHERE I < 631)
  SELECT 100 + A.I * 632 + B.I, CURRENT_DATE - 400, CURRENT_DATE - 400, 19, 0.8 FROM N A CROSS JOIN N B;
  INSERT INTO AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO)
    VALUES (1000000, CURRENT_DATE + 200, CURRENT_DATE + 200, 7, 0.7, 'FE');
  COMMIT;"

# F7 on the first row, the incremental search, "0" and what follows it at once; the row the grid
# then stands on is marked (Right three times to its factor) and its identifier read.
search_zero() {
  local expected=$1
  shift
  dt_connect
  dt_open_editor F7
  dt_key ctrl+Home ctrl+f 0 "$@"
  dt_f7_mark_row Right Right Right
  dt_f7_expect_marked AJCI_ID "$expected" "the search"
  dt_close_program
}

# Control: without Esc the search walks to the last row.
search_to_the_end() {
  search_zero 1000000
}

escape_during_search() {
  search_zero 1 shift+Escape
}

dt_case control-search-to-the-end search_to_the_end
dt_case escape-during-search escape_during_search
dt_finish
