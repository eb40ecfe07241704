#include "controls/datetimepicker.h"

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
