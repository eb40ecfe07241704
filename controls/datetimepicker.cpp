#include "controls/datetimepicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "core/formatsettings.h"

namespace contado {

namespace {

QDate ToQDate(TDateTime value) {
    const TDateParts parts = DecodeDate(value);
    return QDate(parts.year, parts.month, parts.day);
}

TDateTime FromQDate(QDate date) {
    return EncodeDate(date.year(), date.month(), date.day());
}

}  // namespace

TDateTimePicker::TDateTimePicker(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(DisplayFormatFor(FormatSettings().ShortDateFormat));
    // The wheel neither changes the date nor brings the focus here.
    setFocusPolicy(Qt::StrongFocus);
    lineEdit()->installEventFilter(this);
    SetDateTime(value_);
}

TDateTime TDateTimePicker::DateTime() const {
    return ReplaceDate(value_, FromQDate(date()));
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    value_ = value;
    setDate(ToQDate(value));
}

void TDateTimePicker::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (plain && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        event->accept();
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
    } else if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        event->accept();
        MoveToPart(event->key() == Qt::Key_Right ? 1 : -1);
    } else {
        QDateEdit::keyPressEvent(event);
    }
}

void TDateTimePicker::MoveToPart(int step) {
    const int part = std::clamp(currentSectionIndex() + step, 0, sectionCount() - 1);
    setCurrentSectionIndex(part);
}

// The part becomes the current one, all of it selected, so that what is typed next replaces it.
void TDateTimePicker::SelectPart(int part) {
    setCurrentSectionIndex(part);
    setSelectedSection(sectionAt(part));
}

// Only the drop-down button acts on a click: QAbstractSpinBox would read the frame as its up and
// down buttons and step the date. Elsewhere a click picks the part beside it.
void TDateTimePicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDropDownButton(event->position().toPoint())) {
        QDateEdit::mousePressEvent(event);
        return;
    }
    event->accept();
    if (event->button() == Qt::LeftButton) {
        PickPart(event->position().toPoint());
    }
}

// The same hit test QDateTimeEdit makes to open its calendar.
bool TDateTimePicker::OnDropDownButton(const QPoint& point) const {
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    return style()->hitTestComplexControl(QStyle::CC_ComboBox, &option, point, this) ==
           QStyle::SC_ComboBoxArrow;
}

// The part of the text nearest the point, the point brought inside the text first.
void TDateTimePicker::PickPart(const QPoint& point) {
    QLineEdit* edit = lineEdit();
    const QPoint inEdit = edit->mapFrom(this, point);
    const QPoint inside(std::clamp(inEdit.x(), 0, edit->width() - 1),
                        std::clamp(inEdit.y(), 0, edit->height() - 1));
    setFocus(Qt::MouseFocusReason);
    edit->setCursorPosition(edit->cursorPositionAt(inside));
    SelectPart(currentSectionIndex());
}

void TDateTimePicker::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

// A click on the text picks its part as one on the frame does; the middle button, which would
// paste the X selection into the text, does nothing.
bool TDateTimePicker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != lineEdit() || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
                                  type != QEvent::MouseButtonDblClick)) {
        return QDateEdit::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && type != QEvent::MouseButtonRelease) {
        PickPart(lineEdit()->mapTo(this, mouse->position().toPoint()));
        return true;
    }
    return mouse->button() == Qt::MiddleButton;
}

// Day, month and year letters become Qt's; everything else stands as it is, quoted when it is a
// letter Qt would read as a field.
QString TDateTimePicker::DisplayFormatFor(const std::string& shortDateFormat) {
    QString format;
    for (QChar c : QString::fromStdString(shortDateFormat)) {
        const QChar lower = c.toLower();
        if (lower == u'd' || lower == u'y') {
            format += lower;
        } else if (lower == u'm') {
            format += u'M';
        } else if (c.isLetter()) {
            format += u'\'' + QString(c) + u'\'';
        } else {
            format += c;
        }
    }
    return format;
}

}  // namespace contado
