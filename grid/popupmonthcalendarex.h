#pragma once

#include <QDate>
#include <QWidget>
#include <functional>

class QCalendarWidget;

namespace contado {

// The month calendar a date cell's editor drops down: a free-floating window without caption that
// never takes the keyboard focus, holding a month calendar inside a raised border of 2 pixels.
class TPopupMonthCalendarEx : public QWidget {
  public:
    static constexpr int kBorder = 2;

    // What a point of the popup lies on.
    enum THitKind { chNothing, chDay, chDayName, chTitleButton, chMonth, chYear, chTitle };

    explicit TPopupMonthCalendarEx(QWidget* parent);

    QDate Date() const;
    void SetDate(QDate date);
    // The smallest size that shows one month, border included.
    QSize SmallestSize() const;
    THitKind HitTest(QPoint point) const;
    QCalendarWidget* Calendar() const { return calendar_; }

    // Moves the selected date as the navigation keys do: a day, a week, a month, the month's first
    // or last day; false for a key that does not move it.
    bool StepKey(int key, Qt::KeyboardModifiers modifiers);
    // Whether StepKey would move the date with this key.
    static bool IsStepKey(int key, Qt::KeyboardModifiers modifiers);
    void StepDays(int days);

    // Where a popup of this size goes beside the editor (global rectangles): below it with left
    // edges aligned, else above, cut to the room of that side and kept inside the work area.
    static QRect Place(const QRect& editor, QSize size, const QRect& workArea);

    // A mouse release on a day of the calendar or on the month name of its title.
    std::function<void()> OnDayClicked;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static QDate Stepped(QDate date, int key, Qt::KeyboardModifiers modifiers);

    QCalendarWidget* calendar_;
    int wheelDelta_ = 0;
};

}  // namespace contado
