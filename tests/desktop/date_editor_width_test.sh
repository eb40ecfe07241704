#!/usr/bin/env bash
# The cell editor of a date, in the 75-pixel date columns of the F5 editor, must show the whole
# date where the cell drew it: the first digit may not be scrolled out of sight to make room for
# the end. Judged by the screen: the text band of the current cell is grabbed before and after a
# click shows the editor (both paint the text white on the highlight colour, the editor's text
# being selected), and the beginning of the text must be the same pixels.
source "$(dirname "$0")/desktop.sh" "$@"

dt_init
dt_make_company 2

# The current cell after F5: the first column (F.Desde) of the last row; its text band, 40 pixels
# from the cell's left edge, clear of the focus frame.
cell_x=23 cell_y=90
band=(40 11 2 4)

band_of() {
  convert "$1" -crop "${band[0]}x${band[1]}+$(($2 + band[2]))+${band[3]}" +repage "$3"
}

# The shift (in pixels) by which the editor's text best matches the cell's, for the message.
best_shift() {
  local cell=$1 editor=$2 shift best=0 least=-1 count
  band_of "$cell" 6 "$dt_scratch/reference.png"
  for shift in $(seq -6 6); do
    band_of "$editor" $((6 + shift)) "$dt_scratch/shifted.png"
    count=$(dt_differing_pixels "$dt_scratch/reference.png" "$dt_scratch/shifted.png")
    if [ "$least" -lt 0 ] || [ "$count" -lt "$least" ]; then
      least=$count best=$shift
    fi
  done
  echo "$best"
}

editor_shown() {
  dt_grab "$dt_window" $cell_x $cell_y 76 18 "$dt_scratch/now.png"
  ! dt_same_image "$dt_scratch/cell.png" "$dt_scratch/now.png"
}

# A click on the current cell shows its editor; the beginning of the text must not move.
expect_editor_text_in_place() {
  local differing
  dt_grab "$dt_window" $cell_x $cell_y 76 18 "$dt_scratch/cell.png"
  # shellcheck disable=SC2046
  dt_click "$dt_window" $(dt_f5_cell 0 2)
  dt_poll 5 editor_shown || dt_fail "the click did not show the cell editor"
  sleep 0.3
  dt_grab "$dt_window" $cell_x $cell_y 76 18 "$dt_scratch/editor.png"
  band_of "$dt_scratch/cell.png" 0 "$dt_scratch/cell-band.png"
  band_of "$dt_scratch/editor.png" 0 "$dt_scratch/editor-band.png"
  differing=$(dt_differing_pixels "$dt_scratch/cell-band.png" "$dt_scratch/editor-band.png")
  [ "$differing" -le 10 ] ||
    dt_fail "$1: the editor's text is not where the cell drew it ($differing pixels differ; the text is shifted by $(best_shift "$dt_scratch/cell.png" "$dt_scratch/editor.png") pixels)"
  dt_close_program
}

# Control: with the column widened to 127 pixels by its title's border, the date fits.
wide_column() {
  dt_connect
  dt_open_editor F5
  dt_drag "$dt_window" $((cell_x + 75)) $((DT_F5_GRID_Y + 10)) $((cell_x + 127)) $((DT_F5_GRID_Y + 10))
  expect_editor_text_in_place "in a column of 127 pixels"
}

column_of_75() {
  dt_connect
  dt_open_editor F5
  expect_editor_text_in_place "in the column of 75 pixels"
}

dt_case control-wide-column wide_column
dt_case column-of-75 column_of_75
dt_finish
