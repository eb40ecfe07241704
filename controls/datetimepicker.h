#pragma once

#include <QDateEdit>
#include <string>

#include "core/datetime.h"

namespace contado {

// A date picker with a drop-down calendar, showing the regional short date format. It keeps a full
// date-and-time value: choosing another day replaces the date part and keeps the time of day. It is
// one tab stop: Tab leaves it, Left and Right move between its parts, Up and Down change the part
// under the caret.
//
// The mouse never changes the date: only the drop-down button opens the calendar, any other click
// picks the part under it, and the wheel is left to the window.
class TDateTimePicker : public QDateEdit {
    Q_OBJECT

  public:
    explicit TDateTimePicker(QWidget* parent = nullptr);

    TDateTime DateTime() const;
    void SetDateTime(TDateTime value);

    // The regional short date format ("dd/mm/yyyy") as a display format of Qt ("dd/MM/yyyy").
    static QString DisplayFormatFor(const std::string& shortDateFormat);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveToPart(int step);
    void SelectPart(int part);
    bool OnDropDownButton(const QPoint& point) const;
    void PickPart(const QPoint& point);

    TDateTime value_ = 0;
};

}  // namespace contado
