#pragma once

#include <QString>
#include <Qt>

namespace contado {

// What a key pressed on the grid (editor hidden, or a key the editor passed on) asks for.
enum class TGridKeyAction {
    None,
    Up,                // prior record, or drop an untouched appended record at the end
    Down,              // next record, appending one at the end when allowed
    PageUp,            // back by the visible data rows
    PageDown,          // forward by the visible data rows
    TopRow,            // the record in the top visible row
    BottomRow,         // the record in the bottom row of the buffer
    FirstRecord,
    LastRecord,
    FirstColumn,       // first visible column
    LastColumn,        // last visible column
    PriorColumn,       // no wrap
    NextColumn,        // no wrap
    NextCell,          // Tab order forwards
    PriorCell,         // Tab order backwards
    Reset,             // Esc: revert the cell, else cancel the record; then hide the editor
    ShowEditor,        // F2
    InsertRecord,
    DeleteRecord,      // with confirmation
    IncrementalSearch, // Ctrl+F: start it, or open the find dialog while it runs
    SearchNext,        // Ctrl+Enter
    SearchPrior,       // Ctrl+Shift+Enter
    PasteToSearch,     // Ctrl+V, Shift+Insert: the clipboard into a running incremental search
    CopyFromAbove,     // Ctrl+'
    Type,              // a printable character or Backspace
};

// What a key typed into the shown in-place editor does.
enum class TEditorKeyRoute {
    Editor,            // the single-line edit's own meaning (caret, selection, copy)
    Grid,              // handed to the grid's own key handling
    Type,              // a printable character or Backspace, checked against the field
    ChangeText,        // Delete, Shift+Insert, Ctrl+V, Ctrl+X: only where the cell may change
    SelectAll,         // Ctrl+A
    CaretToEnd,        // F2: no selection, caret after the text
    DropDown,          // date cells: Alt+Down, Alt+Up, Ctrl+Enter open the calendar
};

// The few facts of the grid's state that change what a key means.
struct TGridKeyContext {
    bool EnterAsTab = false;        // Enter and Shift+Enter act as Tab and Shift+Tab
    bool SingleDataColumn = false;  // Home and End then move by records
    bool DateCell = false;          // the current cell holds a date (editor table only)
};

// The one place that decides what a key does on the grid and in its editor; the event handlers
// only dispatch on the answer. A key with Shift means what it means without it, except Tab, Enter
// and the clipboard keys.
TGridKeyAction GridKeyAction(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                             const TGridKeyContext& context);
TEditorKeyRoute EditorKeyRoute(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                               const TGridKeyContext& context);

// A character that types text: printable, typed without Ctrl and without Alt alone.
bool IsTypedCharacter(const QString& text, Qt::KeyboardModifiers modifiers);

}  // namespace contado
