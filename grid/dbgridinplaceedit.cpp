#include "grid/dbgridinplaceedit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>

#include "grid/inplaceeditowner.h"
#include "grid/popupmonthcalendarex.h"
#include "platform/services/eventhandler.h"
#include "platform/system/frame3d.h"
#include "platform/system/systemcolors.h"

namespace contado {

namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

Qt::KeyboardModifiers Chord(const QKeyEvent* event) {
    return event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
}

}  // namespace

TDBGridInplaceEdit::TDBGridInplaceEdit(TInplaceEditOwner* owner, QWidget* parent)
    : TInplaceEdit(owner, parent) {}

TDBGridInplaceEdit::~TDBGridInplaceEdit() {
    QApplication::instance()->removeEventFilter(this);
}

void TDBGridInplaceEdit::SetDropDown(bool dropDown) {
    if (!dropDown) {
        CloseUp(false);
    }
    SetButtonWidth(dropDown ? kScrollBarThickness : 0);
}

TPopupMonthCalendarEx& TDBGridInplaceEdit::EnsureCalendar() {
    if (calendar_ == nullptr) {
        calendar_ = new TPopupMonthCalendarEx(this);
        calendar_->OnDayClicked = [this] { RunHandler([this] { CloseUp(true); }); };
    }
    return *calendar_;
}

// Shown beside the editor without taking the focus; presses elsewhere are watched from now on.
void TDBGridInplaceEdit::DropDown() {
    if (!HasDropDown() || droppedDown_) {
        return;
    }
    TPopupMonthCalendarEx& calendar = EnsureCalendar();
    calendar.setPalette(palette());
    calendar.setFont(font());
    calendar.SetDate(Owner()->CalendarStartDate());
    const QRect editor(mapToGlobal(QPoint(0, 0)), size());
    const QRect area = screen()->availableGeometry();
    calendar.setGeometry(TPopupMonthCalendarEx::Place(editor, calendar.SmallestSize(), area));
    calendar.show();
    droppedDown_ = true;
    buttonDown_ = true;
    QApplication::instance()->installEventFilter(this);
    update();
    if (OnDropDown) {
        OnDropDown();
    }
}

void TDBGridInplaceEdit::CloseUp(bool accept) {
    if (!droppedDown_) {
        return;
    }
    if (calendar_->isAncestorOf(QApplication::focusWidget())) {
        setFocus(Qt::OtherFocusReason);
    }
    buttonDown_ = false;
    keepOpenOnNextClick_ = false;
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    QApplication::instance()->removeEventFilter(this);
    calendar_->hide();
    droppedDown_ = false;
    update();
    if (accept) {
        Owner()->CalendarDateChosen(calendar_->Date());
    }
}

void TDBGridInplaceEdit::TypeKey(QKeyEvent* event) {
    keyPressEvent(event);
}

QRect TDBGridInplaceEdit::ButtonRect() const {
    return QRect(width() - ButtonWidth(), 0, ButtonWidth(), height());
}

bool TDBGridInplaceEdit::OwnsWidget(const QWidget* widget) const {
    return widget != nullptr &&
           (widget == this || isAncestorOf(widget) ||
            (calendar_ != nullptr && (widget == calendar_ || calendar_->isAncestorOf(widget))));
}

// Tab and Shift+Tab move between cells instead of moving the focus out of the grid. While the
// calendar is open it claims the keys it uses, so no shortcut of the window (Esc closing it) sees
// them first.
bool TDBGridInplaceEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && droppedDown_ &&
        ClaimsDroppedDownKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
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

// While the calendar is open, a press on any other control closes it without taking its day.
bool TDBGridInplaceEdit::eventFilter(QObject* watched, QEvent* event) {
    if (droppedDown_ && event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        !OwnsWidget(static_cast<QWidget*>(watched))) {
        RunHandler([this] { CloseUp(false); });
    }
    return false;
}

void TDBGridInplaceEdit::keyPressEvent(QKeyEvent* event) {
    RunHandler([this, event] {
        if (!(droppedDown_ && DroppedDownKey(event))) {
            TInplaceEdit::keyPressEvent(event);
        }
    });
}

bool TDBGridInplaceEdit::ClaimsDroppedDownKey(const QKeyEvent* event) const {
    const int key = event->key();
    const Qt::KeyboardModifiers chord = Chord(event);
    if (chord == Qt::NoModifier && (IsEnter(key) || key == Qt::Key_Escape)) {
        return true;
    }
    if (chord == Qt::AltModifier) {
        return key == Qt::Key_Down || key == Qt::Key_Up;
    }
    return !(chord & Qt::AltModifier) && TPopupMonthCalendarEx::IsStepKey(key, event->modifiers());
}

// Enter and Alt+arrows take the day, Esc drops it, the navigation keys move it; all are used up.
bool TDBGridInplaceEdit::DroppedDownKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers chord = Chord(event);
    if (IsEnter(key) && chord == Qt::NoModifier) {
        CloseUp(true);
    } else if (key == Qt::Key_Escape && chord == Qt::NoModifier) {
        CloseUp(false);
    } else if ((key == Qt::Key_Down || key == Qt::Key_Up) && chord == Qt::AltModifier) {
        CloseUp(true);
    } else if (chord & Qt::AltModifier) {
        return false;
    } else {
        return calendar_->StepKey(key, event->modifiers());
    }
    return true;
}

// A press on the button opens the calendar, and the click it starts leaves it open; a click on
// the button of an open calendar closes it.
void TDBGridInplaceEdit::mousePressEvent(QMouseEvent* event) {
    if (!HasDropDown() || event->button() != Qt::LeftButton ||
        !ButtonRect().contains(event->position().toPoint())) {
        TInplaceEdit::mousePressEvent(event);
        return;
    }
    if (droppedDown_) {
        return;
    }
    keepOpenOnNextClick_ = true;
    RunHandler([this] { DropDown(); });
}

void TDBGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (!droppedDown_ || event->button() != Qt::LeftButton) {
        TInplaceEdit::mouseReleaseEvent(event);
        return;
    }
    if (keepOpenOnNextClick_) {
        keepOpenOnNextClick_ = false;
    } else if (ButtonRect().contains(event->position().toPoint())) {
        CloseUp(false);
    }
}

void TDBGridInplaceEdit::paintEvent(QPaintEvent* event) {
    TInplaceEdit::paintEvent(event);
    if (HasDropDown()) {
        QPainter painter(this);
        PaintButton(painter);
    }
}

// A push button with a down arrow, drawn pressed while the calendar is open.
void TDBGridInplaceEdit::PaintButton(QPainter& painter) const {
    QRect rect = ButtonRect();
    painter.fillRect(rect, clBtnFace);
    if (buttonDown_) {
        Frame3D(painter, rect, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(painter, rect, clBtnFace, cl3DDkShadow, 1);
        Frame3D(painter, rect, clBtnHighlight, clBtnShadow, 1);
    }
    const QPoint centre = rect.center() + (buttonDown_ ? QPoint(1, 1) : QPoint());
    const QPolygon arrow({centre + QPoint(-3, -1), centre + QPoint(3, -1), centre + QPoint(0, 2)});
    painter.setPen(clWindowText);
    painter.setBrush(clWindowText);
    painter.drawPolygon(arrow);
}

void TDBGridInplaceEdit::hideEvent(QHideEvent* event) {
    CloseUp(false);
    TInplaceEdit::hideEvent(event);
}

// Losing the focus to a window outside the calendar closes it once this focus change is over.
void TDBGridInplaceEdit::focusOutEvent(QFocusEvent* event) {
    TInplaceEdit::focusOutEvent(event);
    if (droppedDown_ && !OwnsWidget(QApplication::focusWidget())) {
        QMetaObject::invokeMethod(
            this, [this] { RunHandler([this] { CloseUp(false); }); }, Qt::QueuedConnection);
    }
    Owner()->EditorFocusLeft(event->reason());
}

}  // namespace contado
