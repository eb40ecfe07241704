#include "grid/dbgridinplaceedit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "grid/inplaceeditowner.h"
#include "platform/system/eventhandler.h"
#include "platform/system/systemcolors.h"

namespace contado {

TDBGridInplaceEdit::TDBGridInplaceEdit(TInplaceEditOwner* owner, QWidget* parent)
    : TInplaceEdit(owner, parent) {}

void TDBGridInplaceEdit::SetDropDown(bool dropDown) {
    SetButtonWidth(dropDown ? kScrollBarThickness : 0);
}

void TDBGridInplaceEdit::DropDown() {
    if (HasDropDown() && OnDropDown) {
        OnDropDown();
    }
}

void TDBGridInplaceEdit::TypeKey(QKeyEvent* event) {
    keyPressEvent(event);
}

// Tab and Shift+Tab move between cells instead of moving the focus out of the grid.
bool TDBGridInplaceEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return TInplaceEdit::event(event);
}

void TDBGridInplaceEdit::keyPressEvent(QKeyEvent* event) {
    RunHandler([this, event] { TInplaceEdit::keyPressEvent(event); });
}

void TDBGridInplaceEdit::focusOutEvent(QFocusEvent* event) {
    TInplaceEdit::focusOutEvent(event);
    Owner()->EditorFocusLeft(event->reason());
}

}  // namespace contado
