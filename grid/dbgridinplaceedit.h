#pragma once

#include <QPointer>
#include <functional>

#include "grid/inplaceedit.h"

namespace contado {

class TPopupMonthCalendarEx;

// The data grid's in-place editor: the generic editor with the drop-down button and month calendar
// of date cells, key handling that claims Tab and shows the errors of its handlers in the default
// error box, and the report of the focus leaving it.
class TDBGridInplaceEdit : public TInplaceEdit {
  public:
    TDBGridInplaceEdit(TInplaceEditOwner* owner, QWidget* parent);
    ~TDBGridInplaceEdit() override;

    // Date cells get a drop-down button of the scroll bar's width at the right edge.
    void SetDropDown(bool dropDown);
    bool HasDropDown() const { return ButtonWidth() > 0; }
    // Opens the calendar on the cell's date, below or above the editor; reported on OnDropDown.
    void DropDown();
    // Closes the calendar; with accept its day is handed to the grid to write.
    void CloseUp(bool accept);
    bool DroppedDown() const { return droppedDown_; }
    // Created on the first drop-down; null before.
    TPopupMonthCalendarEx* Calendar() const { return calendar_; }
    std::function<void()> OnDropDown;

    // A key typed on the grid handed to the editor as if typed there.
    void TypeKey(QKeyEvent* event);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    TPopupMonthCalendarEx& EnsureCalendar();
    QRect ButtonRect() const;
    bool DroppedDownKey(QKeyEvent* event);
    bool ClaimsDroppedDownKey(const QKeyEvent* event) const;
    // Whether a widget is this editor, the calendar, or inside either.
    bool OwnsWidget(const QWidget* widget) const;
    void PaintButton(QPainter& painter) const;

    TPopupMonthCalendarEx* calendar_ = nullptr;
    bool droppedDown_ = false;
    bool keepOpenOnNextClick_ = false;
    bool buttonDown_ = false;
};

}  // namespace contado
