#include "grid/popupmonthcalendarex.h"

#include <QCalendarWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>

#include "platform/system/frame3d.h"
#include "platform/system/systemcolors.h"

namespace contado {

namespace {

constexpr int kNotch = 120;

}  // namespace

TPopupMonthCalendarEx::TPopupMonthCalendarEx(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      calendar_(new QCalendarWidget(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    calendar_->setFocusPolicy(Qt::NoFocus);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->move(kBorder, kBorder);
    for (QWidget* child : calendar_->findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
        child->installEventFilter(this);
    }
    hide();
}

QDate TPopupMonthCalendarEx::Date() const {
    return calendar_->selectedDate();
}

void TPopupMonthCalendarEx::SetDate(QDate date) {
    calendar_->setSelectedDate(date);
    calendar_->setCurrentPage(date.year(), date.month());
}

QSize TPopupMonthCalendarEx::SmallestSize() const {
    return calendar_->minimumSizeHint() + QSize(2 * kBorder, 2 * kBorder);
}

// The day cells, their names' row and the parts of the title, found by the calendar's own children.
TPopupMonthCalendarEx::THitKind TPopupMonthCalendarEx::HitTest(QPoint point) const {
    const QWidget* child = childAt(point);
    while (child != nullptr && child != calendar_) {
        const QString name = child->objectName();
        if (name == QLatin1String("qt_calendar_prevmonth") ||
            name == QLatin1String("qt_calendar_nextmonth")) {
            return chTitleButton;
        }
        if (name == QLatin1String("qt_calendar_monthbutton")) {
            return chMonth;
        }
        if (name == QLatin1String("qt_calendar_yearbutton") ||
            name == QLatin1String("qt_calendar_yearedit")) {
            return chYear;
        }
        if (name == QLatin1String("qt_calendar_navigationbar")) {
            return chTitle;
        }
        if (const auto* view = qobject_cast<const QTableView*>(child)) {
            const QModelIndex index = view->indexAt(view->viewport()->mapFrom(this, point));
            return !index.isValid() ? chNothing : index.row() == 0 ? chDayName : chDay;
        }
        child = child->parentWidget();
    }
    return chNothing;
}

bool TPopupMonthCalendarEx::StepKey(int key, Qt::KeyboardModifiers modifiers) {
    const QDate next = Stepped(Date(), key, modifiers);
    if (!next.isValid()) {
        return false;
    }
    SetDate(next);
    return true;
}

bool TPopupMonthCalendarEx::IsStepKey(int key, Qt::KeyboardModifiers modifiers) {
    return Stepped(QDate(2000, 1, 15), key, modifiers).isValid();
}

// The date a navigation key moves to; invalid for a key that does not move it.
QDate TPopupMonthCalendarEx::Stepped(QDate date, int key, Qt::KeyboardModifiers modifiers) {
    const bool control = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
        case Qt::Key_Left:
            return date.addDays(-1);
        case Qt::Key_Right:
            return date.addDays(1);
        case Qt::Key_Up:
            return date.addDays(-7);
        case Qt::Key_Down:
            return date.addDays(7);
        case Qt::Key_PageUp:
            return shift ? QDate() : date.addMonths(-1);
        case Qt::Key_PageDown:
            return shift ? QDate() : date.addMonths(1);
        case Qt::Key_Home:
            return control ? QDate(date.year(), date.month(), 1) : QDate();
        case Qt::Key_End:
            return control ? QDate(date.year(), date.month(), date.daysInMonth()) : QDate();
        default:
            return QDate();
    }
}

void TPopupMonthCalendarEx::StepDays(int days) {
    SetDate(Date().addDays(days));
}

QRect TPopupMonthCalendarEx::Place(const QRect& editor, QSize size, const QRect& workArea) {
    const int roomBelow = workArea.top() + workArea.height() - (editor.top() + editor.height());
    const int roomAbove = editor.top() - workArea.top();
    int height = size.height();
    int top = editor.top() + editor.height();
    if (height > roomBelow && (height <= roomAbove || roomAbove > roomBelow)) {
        height = std::min(height, roomAbove);
        top = editor.top() - height;
    } else {
        height = std::min(height, roomBelow);
    }
    const int width = std::min(size.width(), workArea.width());
    int left = editor.left();
    left = std::min(left, workArea.left() + workArea.width() - width);
    left = std::max(left, workArea.left());
    return QRect(left, top, width, height);
}

// An outer and an inner raised edge.
void TPopupMonthCalendarEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect rect = this->rect();
    Frame3D(painter, rect, clBtnFace, cl3DDkShadow, 1);
    Frame3D(painter, rect, clBtnHighlight, clBtnShadow, 1);
}

void TPopupMonthCalendarEx::resizeEvent(QResizeEvent*) {
    calendar_->setGeometry(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
}

// One notch down is one day later.
void TPopupMonthCalendarEx::wheelEvent(QWheelEvent* event) {
    wheelDelta_ += event->angleDelta().y();
    const int notches = wheelDelta_ / kNotch;
    wheelDelta_ -= notches * kNotch;
    if (notches != 0) {
        StepDays(-notches);
    }
    event->accept();
}

// The calendar's own wheel would change the month; here the wheel steps days. A release on a day
// or on the month name is reported once the calendar has taken that day, which it does on the
// release itself; the month name's own menu never opens.
bool TPopupMonthCalendarEx::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint point = static_cast<QWidget*>(watched)->mapTo(this, mouse->position().toPoint());
    const THitKind hit = HitTest(point);
    if (event->type() == QEvent::MouseButtonPress) {
        return hit == chMonth;
    }
    if (mouse->button() == Qt::LeftButton && (hit == chDay || hit == chMonth) && OnDayClicked) {
        QMetaObject::invokeMethod(
            this, [this] { OnDayClicked(); }, Qt::QueuedConnection);
    }
    return hit == chMonth;
}

}  // namespace contado
