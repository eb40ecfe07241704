#include <memory>

#include "core/exceptions.h"
#include "core/utf8text.h"
#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "grid/customdbgridex.h"
#include "grid/griddatalinkex.h"
#include "grid/pendingescape.h"
#include "platform/system/busycursor.h"

// The grid's cell-text search: walks the records (and with the all-columns option the visible
// columns) from a start cell until a cell's text matches, or returns to the record and screen row
// it started from.

namespace contado {

namespace {

// Stops the dataset's controls from following its moves for as long as it lives.
class TControlsDisabled {
  public:
    explicit TControlsDisabled(TDataSet& dataSet) : dataSet_(dataSet) { dataSet_.DisableControls(); }
    ~TControlsDisabled() { dataSet_.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

  private:
    TDataSet& dataSet_;
};

// The searched text and the comparison, prepared once for every cell.
class TCellMatcher {
  public:
    TCellMatcher(const QString& text, bool ignoreCase, TGridSearchMatching matching)
        : ignoreCase_(ignoreCase), matching_(matching), text_(Prepared(text.toStdString())) {}

    bool Matches(const QString& cell) const {
        const std::string hay = Prepared(cell.toStdString());
        switch (matching_) {
            case gsmWholeField:
                return hay == text_;
            case gsmFromBeginning:
                return hay.starts_with(text_);
            case gsmAnyPart:
            default:
                return !text_.empty() && !hay.empty() && hay.find(text_) != std::string::npos;
        }
    }

  private:
    std::string Prepared(const std::string& text) const { return ignoreCase_ ? FoldedCase(text) : text; }

    bool ignoreCase_;
    TGridSearchMatching matching_;
    std::string text_;
};

bool PastEnd(const TDataSet& dataSet, TGridSearchDirection direction) {
    return direction == gsdUp ? dataSet.Bof() : dataSet.Eof();
}

}  // namespace

bool TCustomDBGridEx::SearchCellText(const std::string& fieldName, const QString& text,
                                     TGridSearchOptions options, TGridSearchDirection direction,
                                     TGridSearchMatching matching) {
    TBusyCursor busy;
    TDataSet* dataSet = DataSet();
    if (dataSet == nullptr || !dataSet->Active()) {
        return false;
    }
    int position = SearchStartColumn(fieldName);
    if (visibleColumns_.empty() || position < 0) {
        return false;
    }
    const bool allColumns = options.Contains(gsoAllColumns);
    const TCellMatcher matcher(text, options.Contains(gsoCaseInsensitive), matching);
    std::unique_ptr<TPendingEscape> escape;
    if (options.Contains(gsoStopOnEscape)) {
        escape = std::make_unique<TPendingEscape>(window());
    }
    TControlsDisabled disabled(*dataSet);
    const int offset = MiddleRowOffset();
    dataSet->MoveBy(-offset);
    const TBookmark middle = dataSet->GetBookmark();
    dataSet->MoveBy(offset);
    if (direction == gsdAll) {
        dataSet->First();
    } else {
        SearchStep(position, allColumns, direction);
    }
    while (!PastEnd(*dataSet, direction)) {
        if (matcher.Matches(SearchedCellText(position, options.Contains(gsoDisplayText)))) {
            SelectColumn(position);
            return true;
        }
        if (escape != nullptr && escape->Pending()) {
            break;
        }
        SearchStep(position, allColumns, direction);
    }
    dataSet->GotoBookmark(middle);
    dataSet->MoveBy(offset);
    return false;
}

// The visible position of the named field's column (the first whose name matches, ignoring case),
// or of the focused column; -1 for a named column that is hidden.
int TCustomDBGridEx::SearchStartColumn(const std::string& fieldName) const {
    if (fieldName.empty()) {
        return visibleColumns_.empty()
                   ? -1
                   : std::min(CurrentColumn(), static_cast<int>(visibleColumns_.size()) - 1);
    }
    for (int index = 0; index < columns_.Count(); ++index) {
        const TDBGridColumnEx* column = columns_.Items(index);
        if (CompareCharacters(column->FieldName(), fieldName, true) == 0) {
            for (int position = 0; position < static_cast<int>(visibleColumns_.size()); ++position) {
                if (visibleColumns_[position] == column) {
                    return position;
                }
            }
            return -1;
        }
    }
    throw EDatabaseError("El nombre de campo '" + fieldName + "' no se encuentra");
}

// d = r - n div 2 + ((n + 1) mod 2), n the records in the link's window and r the current one's row.
int TCustomDBGridEx::MiddleRowOffset() const {
    const int records = dataLink_->RecordCount();
    return dataLink_->ActiveRecord() - records / 2 + (records + 1) % 2;
}

QString TCustomDBGridEx::SearchedCellText(int position, bool displayText) const {
    const TDBGridColumnEx& column = *visibleColumns_.at(position);
    if (displayText) {
        return column.DisplayText();
    }
    const TField* field = column.Field();
    return field != nullptr ? QString::fromStdString(field->AsString()) : QString();
}

void TCustomDBGridEx::SearchStep(int& position, bool allColumns, TGridSearchDirection direction) const {
    TDataSet* dataSet = DataSet();
    const int last = static_cast<int>(visibleColumns_.size()) - 1;
    if (direction == gsdUp) {
        if (allColumns && position > 0) {
            --position;
        } else {
            dataSet->Prior();
            position = allColumns ? last : position;
        }
    } else if (allColumns && position < last) {
        ++position;
    } else {
        dataSet->Next();
        position = allColumns ? 0 : position;
    }
}

}  // namespace contado
