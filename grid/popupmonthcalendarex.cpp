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
    const QDate date = Date();
    const bool control = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    QDate next;
    switch (key) {
        case Qt::Key_Left:
            next = date.addDays(-1);
            break;
        case Qt::Key_Right:
            next = date.addDays(1);
            break;
        case Qt::Key_Up:
            next = date.addDays(-7);
            break;
        case Qt::Key_Down:
            next = date.addDays(7);
            break;
        case Qt::Key_PageUp:
            next = shift ? QDate() : date.addMonths(-1);
            break;
        case Qt::Key_PageDown:
            next = shift ? QDate() : date.addMonths(1);
            break;
        case Qt::Key_Home:
            next = control ? QDate(date.year(), date.month(), 1) : QDate();
            break;
        case Qt::Key_End:
            next = control ? QDate(date.year(), date.month(), date.daysInMonth()) : QDate();
            break;
        default:
            break;
    }
    if (!next.isValid()) {
        return false;
    }
    SetDate(next);
    return true;
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
// is reported once the calendar has taken that day, which it does on the release itself.
bool TPopupMonthCalendarEx::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && OnDayClicked) {
        const auto* release = static_cast<QMouseEvent*>(event);
        const QPoint point = static_cast<QWidget*>(watched)->mapTo(this, release->position().toPoint());
        if (release->button() == Qt::LeftButton && HitTest(point) == chDay) {
            QMetaObject::invokeMethod(
                this, [this] { OnDayClicked(); }, Qt::QueuedConnection);
        }
    }
    return false;
}

}  // namespace contado
