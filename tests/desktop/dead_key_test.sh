#!/usr/bin/env bash
# The Spanish layout's dead acute key: dead_acute then e is "é". Typed over the grid (no cell
# editor open), the composed character must reach the grid like any other typed character: it
# opens the cell editor with "é", and during an incremental search it is searched for. Typed into
# an open editor it already arrives (a control). The prefixes typed here exist in PREFIJO, so each
# is stored as typed; the planned adjustments get a row with "é" and, after it, one with "e".
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2 "INSERT INTO PREFIJO (PREF_CODIGO, PREF_NOMBRE) VALUES ('é', 'Prueba é');
  INSERT INTO PREFIJO (PREF_CODIGO, PREF_NOMBRE) VALUES ('Eé', 'Prueba Eé');
  INSERT INTO PREFIJO (PREF_CODIGO, PREF_NOMBRE) VALUES ('e', 'Prueba e');
  INSERT INTO AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO)
    VALUES (0, CURRENT_DATE, CURRENT_DATE, 0, 0.7, 'é');
  INSERT INTO AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO)
    VALUES (0, CURRENT_DATE, CURRENT_DATE, 0, 0.7, 'e');
  COMMIT;"

# F5 stores; the prefix of the last row (rate 0) must be the expected text.
expect_prefix_stored() {
  local prefix
  dt_store_editor F5
  prefix=$(dt_sql_value "SELECT COALESCE(AJCI_PREFNO, '<null>') FROM AJUSTE_CIERRE
                           WHERE AJCI_FECINI = CURRENT_DATE AND AJCI_PORC = 0;")
  [ "$prefix" = "$1" ] || dt_fail "$2: the prefix stored is '$prefix', not '$1'"
  dt_close_program
}

# Control: "E" opens the editor of the prefix cell, then the dead key composes inside the editor.
dead_key_in_editor() {
  dt_connect
  dt_open_editor F5
  dt_key End
  dt_type E
  dt_key dead_acute e
  expect_prefix_stored "Eé" "E, dead acute, e"
}

dead_key_over_grid() {
  dt_connect
  dt_open_editor F5
  dt_key End dead_acute e
  expect_prefix_stored "é" "dead acute, e over the grid"
}

# F7 opens on the last row ("e"), in the prefix column Ctrl+F starts the incremental search and the
# typed text moves to the first row whose prefix begins with it; Left ends the search and the row
# found is marked.
search_prefix_and_mark_row() {
  local expected=$1 searched=$2
  shift 2
  dt_connect
  dt_open_editor F7
  dt_key End ctrl+f "$@"
  dt_f7_mark_row Left
  dt_f7_expect_marked AJCI_PREFNO "$expected" "searching '$searched'"
  dt_close_program
}

# Control: "C" finds the row of "CA".
search_c() {
  search_prefix_and_mark_row CA "C" C
}

search_dead_key() {
  search_prefix_and_mark_row "é" "dead acute, e" dead_acute e
}

dt_case control-dead-key-in-editor dead_key_in_editor
dt_case dead-key-over-grid dead_key_over_grid
dt_case control-search-c search_c
dt_case dead-key-in-search search_dead_key
dt_finish
