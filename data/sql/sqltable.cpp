#include "data/sql/sqltable.h"

#include <algorithm>

namespace contado {

TSQLTable::TSQLTable(TComponent* owner) : TCustomSQLDataSet(owner) {
    SetCommandType(ctTable);
}

void TSQLTable::SetTableName(const std::string& name) {
    SetCommandType(ctTable);
    SetCommandText(name);
}

void TSQLTable::SetIndexFieldNames(const std::string& names) {
    if (names != indexFieldNames_) {
        CheckInactive();
        indexFieldNames_ = names;
        FreeStatement();
    }
}

std::string TSQLTable::StatementText() {
    std::string text = TCustomSQLDataSet::StatementText();
    if (!indexFieldNames_.empty()) {
        std::string columns = indexFieldNames_;
        std::replace(columns.begin(), columns.end(), ';', ',');
        text += " order by " + columns;
    }
    return text;
}

}  // namespace contado
