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
// picks the part under it, and the wheel is left to the window. A date is typed as it is written,
// with or without its separators, from the first part, where Tab and Shift+Tab put the caret: a
// part moves on when it is full, and a separator typed right after that is dropped.
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
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveToPart(int step);
    void SelectPart(int part);
    void TypeDigit(QKeyEvent* event);
    void TypeDayOrMonth(int digit);
    void TypeSeparator();
    void BringBackTypedDay();
    void EndTyping();
    bool IsSeparator(const QString& text) const;
    bool OnDropDownButton(const QPoint& point) const;
    void PickPart(const QPoint& point);

    TDateTime value_ = 0;
    // The date being typed: the part whose digits came so far, and the day typed, which a month too
    // short for it shows as its last day until a month or year that has it comes.
    int typingPart_ = -1;
    QString partDigits_;
    int typedDay_ = 0;
    // The last digit filled a part and moved on to the next one.
    bool partFilled_ = false;
};

}  // namespace contado
