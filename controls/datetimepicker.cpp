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

constexpr int kPartDigits = 2;

QDate ToQDate(TDateTime value) {
    const TDateParts parts = DecodeDate(value);
    return QDate(parts.year, parts.month, parts.day);
}

TDateTime FromQDate(QDate date) {
    return EncodeDate(date.year(), date.month(), date.day());
}

bool IsPlainKey(const QKeyEvent* event) {
    return (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
}

// Shift (for "/" on many layouts), AltGr and the like go down before the character they make; they
// are no key of their own for the date being typed.
bool IsModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_Mode_switch:
            return true;
        default:
            return false;
    }
}

bool IsDigit(const QString& text) {
    return text.size() == 1 && text.front().isDigit();
}

// The shown date with a typed month (1 to 12; anything else keeps the shown one) and day, the day
// cut to the month's last.
QDate WithDayAndMonth(QDate shown, int day, int month) {
    const QDate first(shown.year(), month >= 1 && month <= 12 ? month : shown.month(), 1);
    return first.addDays(std::clamp(day, 1, first.daysInMonth()) - 1);
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
    EndTyping();
    value_ = value;
    setDate(ToQDate(value));
}

void TDateTimePicker::keyPressEvent(QKeyEvent* event) {
    const bool plain = IsPlainKey(event);
    const int key = event->key();
    if (plain && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        EndTyping();
        QWidget::focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
    } else if (plain && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        EndTyping();
        MoveToPart(key == Qt::Key_Right ? 1 : -1);
    } else if (plain && IsDigit(event->text())) {
        TypeDigit(event);
    } else if (plain && IsSeparator(event->text())) {
        TypeSeparator();
    } else if (IsModifierKey(key)) {
        QDateEdit::keyPressEvent(event);
        return;
    } else {
        EndTyping();
        QDateEdit::keyPressEvent(event);
        return;
    }
    event->accept();
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

// Day and month take their digits here, so that a day the month shown is too short for is kept;
// the year's digits go to Qt, which shows them as they come.
void TDateTimePicker::TypeDigit(QKeyEvent* event) {
    const Section section = currentSection();
    if (section == DaySection || section == MonthSection) {
        TypeDayOrMonth(event->text().front().digitValue());
        return;
    }
    const int part = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    partFilled_ = currentSectionIndex() > part;
    BringBackTypedDay();
}

// A part takes two digits, or one when no second could follow (a day from 4, a month from 2),
// and then the caret moves on to the next part.
void TDateTimePicker::TypeDayOrMonth(int digit) {
    const int part = currentSectionIndex();
    if (typingPart_ < 0) {
        typedDay_ = date().day();
    }
    if (part != typingPart_) {
        typingPart_ = part;
        partDigits_.clear();
    }
    partDigits_ += QChar(u'0' + digit);
    const int value = partDigits_.toInt();
    const bool day = currentSection() == DaySection;
    if (day && value > 0) {
        typedDay_ = value;
    }
    setDate(WithDayAndMonth(date(), typedDay_, day ? 0 : value));
    const bool full = partDigits_.size() >= kPartDigits || value * 10 > (day ? 31 : 12);
    partFilled_ = full && part + 1 < sectionCount();
    if (full) {
        partDigits_.clear();
    }
    SelectPart(partFilled_ ? part + 1 : part);
    typingPart_ = currentSectionIndex();
}

// A separator ends the part being typed and goes to the next; right after a part that filled
// itself, as in "01/12/2026", it is the one the caret has already passed and is dropped.
void TDateTimePicker::TypeSeparator() {
    const int next = currentSectionIndex() + 1;
    if (!partFilled_ && next < sectionCount()) {
        SelectPart(next);
        typingPart_ = next;
        partDigits_.clear();
    }
    partFilled_ = false;
}

// A day typed before a year that has it, as 29 February, comes back once the year is typed.
void TDateTimePicker::BringBackTypedDay() {
    const QDate shown = date();
    if (typedDay_ > shown.day() && typedDay_ <= shown.daysInMonth()) {
        const int part = currentSectionIndex();
        setDate(shown.addDays(typedDay_ - shown.day()));
        SelectPart(part);
    }
}

void TDateTimePicker::EndTyping() {
    typingPart_ = -1;
    partDigits_.clear();
    typedDay_ = 0;
    partFilled_ = false;
}

// A character of the display format that stands between its parts.
bool TDateTimePicker::IsSeparator(const QString& text) const {
    return text.size() == 1 && !text.front().isLetterOrNumber() && !text.front().isSpace() &&
           displayFormat().contains(text.front());
}

// Only the drop-down button acts on a click: QAbstractSpinBox would read the frame as its up and
// down buttons and step the date. Elsewhere a click picks the part beside it.
void TDateTimePicker::mousePressEvent(QMouseEvent* event) {
    EndTyping();
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

// Come back to with Shift+Tab, the picker puts the caret on its first part as Tab does (Qt would
// take the last), since a date is typed from its first part.
void TDateTimePicker::focusInEvent(QFocusEvent* event) {
    EndTyping();
    QDateEdit::focusInEvent(event);
    if (event->reason() == Qt::BacktabFocusReason) {
        SelectPart(0);
    }
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
        EndTyping();
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
