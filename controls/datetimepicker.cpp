#include "controls/datetimepicker.h"

#include <QKeyEvent>
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
