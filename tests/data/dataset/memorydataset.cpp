#include "tests/data/dataset/memorydataset.h"

#include <cstring>

namespace contado {

std::vector<TMemoryDataSet::TRow> TMemoryDataSet::Rows() const {
    std::vector<TRow> rows;
    for (const TStoredRow& row : rows_) {
        rows.push_back(row.values);
    }
    return rows;
}

void TMemoryDataSet::InternalOpen() {
    FieldDefs() = columns_;
    cursor_ = -1;
    open_ = true;
}

TBookmark TMemoryDataSet::BookmarkOf(int id) {
    TBookmark bookmark(sizeof id);
    std::memcpy(bookmark.data(), &id, sizeof id);
    return bookmark;
}

int TMemoryDataSet::IndexOf(const TBookmark& bookmark) const {
    int id = 0;
    if (bookmark.size() == sizeof id) {
        std::memcpy(&id, bookmark.data(), sizeof id);
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(rows_.size());
}

void TMemoryDataSet::Fill(TRecordBuffer& buffer) const {
    const TStoredRow& row = rows_[cursor_];
    std::copy(row.values.begin(), row.values.end(), buffer.Values.begin());
    buffer.Bookmark = BookmarkOf(row.id);
    buffer.BookmarkFlag = bfCurrent;
}

TGetResult TMemoryDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode) {
    const int count = static_cast<int>(rows_.size());
    if (mode == gmNext) {
        cursor_ = std::min(cursor_ + 1, count);
        if (cursor_ == count) {
            return grEOF;
        }
    } else if (mode == gmPrior) {
        cursor_ = std::max(cursor_ - 1, -1);
        if (cursor_ < 0) {
            return grBOF;
        }
    } else if (cursor_ < 0 || cursor_ >= count) {
        return grError;
    }
    Fill(buffer);
    return grOK;
}

void TMemoryDataSet::InternalSetToRecord(const TRecordBuffer& buffer) {
    if (buffer.BookmarkFlag == bfBOF) {
        cursor_ = 0;
    } else if (buffer.BookmarkFlag == bfEOF) {
        cursor_ = static_cast<int>(rows_.size());
    } else {
        cursor_ = IndexOf(buffer.Bookmark);
    }
}

void TMemoryDataSet::InternalPost() {
    CheckRequiredFields();
    TRow values(ActiveBuffer().Values.begin(), ActiveBuffer().Values.begin() + columns_.Count());
    if (State() == dsInsert) {
        rows_.insert(rows_.begin() + cursor_, {nextId_++, std::move(values)});
    } else {
        rows_[cursor_].values = std::move(values);
    }
}

void TMemoryDataSet::InternalDelete() {
    rows_.erase(rows_.begin() + cursor_);
}

}  // namespace contado
