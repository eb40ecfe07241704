#include "app/run/runreport.h"

#include "app/run/runoptions.h"
#include "core/fieldtype.h"
#include "data/dataset/dataset.h"
#include "data/fields/field.h"

namespace contado {

namespace {

constexpr char kSeparator = '\t';

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

}  // namespace

std::string TRunReport::ValueText(const TField& field) {
    if (field.IsNull()) {
        return {};
    }
    const TFieldType type = field.DataType();
    if (type == ftDate) {
        return IsoDateText(field.AsDateTime());
    }
    if (type == ftDateTime || type == ftTimeStamp || type == ftTime) {
        const TDateTime moment = field.AsDateTime();
        return (type == ftTime ? std::string() : IsoDateText(moment) + " ") + ExactTimeText(moment);
    }
    if (IsNumericType(type)) {
        return field.AsBCD().ToString('.');
    }
    return OneLine(field.AsString());
}

void TRunReport::WriteHeader(const TDataSet& rows) {
    out_ << "DIA";
    for (int i = 0; i < rows.FieldCount(); ++i) {
        out_ << kSeparator << rows.Fields(i)->FieldName();
    }
    out_ << '\n';
    headerWritten_ = true;
}

int TRunReport::WriteDay(TDateTime day, TDataSet& rows) {
    if (!headerWritten_) {
        WriteHeader(rows);
    }
    const std::string dayText = IsoDateText(day);
    int count = 0;
    for (; !rows.Eof(); rows.Next()) {
        out_ << dayText;
        for (int i = 0; i < rows.FieldCount(); ++i) {
            out_ << kSeparator << ValueText(*rows.Fields(i));
        }
        out_ << '\n';
        ++count;
    }
    out_.flush();
    return count;
}

}  // namespace contado
