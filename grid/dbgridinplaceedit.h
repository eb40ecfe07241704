#pragma once

#include <functional>

#include "grid/inplaceedit.h"

namespace contado {

// The data grid's in-place editor: the generic editor with the drop-down place of date cells, key
// handling that claims Tab and shows the errors of its handlers in the default error box, and the
// report of the focus leaving it.
class TDBGridInplaceEdit : public TInplaceEdit {
  public:
    TDBGridInplaceEdit(TInplaceEditOwner* owner, QWidget* parent);

    // Date cells get a drop-down button of the scroll bar's width at the right edge.
    void SetDropDown(bool dropDown);
    bool HasDropDown() const { return ButtonWidth() > 0; }
    // Opens the cell's drop-down: the date cell's calendar is hung on OnDropDown.
    void DropDown();
    std::function<void()> OnDropDown;

    // A key typed on the grid handed to the editor as if typed there.
    void TypeKey(QKeyEvent* event);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace contado
