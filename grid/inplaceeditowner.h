#pragma once

#include <QDate>
#include <QString>

#include "grid/gridkeymap.h"

class QKeyEvent;

namespace contado {

// What the in-place editor asks of the grid that owns it: the rules of the cell it edits, leave to
// change the text, and where the keys it does not keep go.
class TInplaceEditOwner {
  public:
    virtual ~TInplaceEditOwner() = default;

    // Whether the cell's field takes this character.
    virtual bool AcceptsCharacter(char32_t character) const = 0;
    // A decimal cell turns both the full stop and the comma into this separator; 0 for other cells.
    virtual QChar CellDecimalSeparator() const = 0;
    // Most characters the cell's text may have; 0 for no limit.
    virtual int CellMaxLength() const = 0;
    // Whether the text may change now; the first yes puts the table into edit state.
    virtual bool CanEditModify() = 0;
    virtual TGridKeyContext EditorKeyContext() const = 0;
    // Every change of the editor's text.
    virtual void EditorTextChanged(const QString& text) = 0;
    // A key the editor hands to the grid.
    virtual void EditorKeyForGrid(QKeyEvent* event) = 0;
    // Alt+Down and the like on a date cell.
    virtual void EditorDropDown() {}
    // The day a date cell's calendar opens on.
    virtual QDate CalendarStartDate() { return QDate::currentDate(); }
    // A day chosen in the calendar, for the cell's field.
    virtual void CalendarDateChosen(QDate) {}
    // The editor lost the focus, for the reason given.
    virtual void EditorFocusLeft(Qt::FocusReason) {}
};

}  // namespace contado
