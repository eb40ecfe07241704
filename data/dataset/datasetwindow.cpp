#include "data/dataset/dataset.h"

#include <algorithm>

#include "data/dataset/datalink.h"
#include "data/dataset/datasource.h"

// The window of record buffers that data links look at, and moving the cursor through it.

namespace contado {

// ---------------------------------------------------------------------------------------------
// The window of record buffers

void TDataSet::UpdateBufferCount() {
    int count = 1;
    for (const TDataSource* source : dataSources_) {
        for (const TDataLink* link : source->DataLinks()) {
            count = std::max(count, link->BufferCount());
        }
    }
    SetBufferCount(count);
    if (Active()) {
        KeepLinkWindowsInRange();
    }
}

void TDataSet::KeepLinkWindowsInRange() {
    for (const TDataSource* source : dataSources_) {
        for (TDataLink* link : source->DataLinks()) {
            if (link->Active()) {
                link->UpdateRange();
            }
        }
    }
}

void TDataSet::SetBufferCount(int count) {
    if (count == bufferCount_) {
        return;
    }
    if (recordCount_ > count) {
        ShrinkWindow(count);
    }
    bufferCount_ = count;
    buffers_.resize(count + 1);
    for (TRecordBuffer& buffer : buffers_) {
        PrepareBuffer(buffer);
    }
    if (Active() && recordCount_ > 0) {
        GetNextRecords();
        if (!IsUniDirectional()) {
            GetPriorRecords();
        }
    }
}

// Keeps the active row in a smaller window, dropping rows from the front first.
void TDataSet::ShrinkWindow(int count) {
    const int drop = std::max(0, activeRecord_ - (count - 1));
    std::rotate(buffers_.begin(), buffers_.begin() + drop, buffers_.end());
    activeRecord_ -= drop;
    recordCount_ = count;
    CursorPosChanged();
}

void TDataSet::PrepareBuffer(TRecordBuffer& buffer) const {
    if (static_cast<int>(buffer.Values.size()) != recordSize_) {
        buffer.Values.assign(recordSize_, TNull{});
    }
}

void TDataSet::ClearBuffers() {
    recordCount_ = 0;
    activeRecord_ = 0;
    currentRecord_ = -1;
    bof_ = true;
    eof_ = true;
}

void TDataSet::ActivateBuffers() {
    recordCount_ = 1;
    activeRecord_ = 0;
    currentRecord_ = 0;
    bof_ = false;
    eof_ = false;
}

void TDataSet::SetActiveRecord(int index) {
    if (index >= 0 && index < std::max(recordCount_, 1)) {
        activeRecord_ = index;
    }
}

bool TDataSet::FetchInto(TRecordBuffer& buffer, TGetMode mode) {
    PrepareBuffer(buffer);
    if (GetRecord(buffer, mode) != grOK) {
        return false;
    }
    CalculateFields(buffer);
    return true;
}

void TDataSet::SetCurrentRecord(int index) {
    if (currentRecord_ != index) {
        if (!IsUniDirectional()) {
            InternalSetToRecord(buffers_.at(index));
        }
        currentRecord_ = index;
    }
}

void TDataSet::UpdateCursorPos() {
    if (recordCount_ > 0) {
        SetCurrentRecord(activeRecord_);
    }
}

void TDataSet::InternalSetToRecord(const TRecordBuffer&) {}

// Moves the buffer at 'from' to 'to', shifting the buffers between by one place.
void TDataSet::MoveBuffer(int from, int to) {
    if (from < to) {
        std::rotate(buffers_.begin() + from, buffers_.begin() + from + 1, buffers_.begin() + to + 1);
    } else if (from > to) {
        std::rotate(buffers_.begin() + to, buffers_.begin() + from, buffers_.begin() + from + 1);
    }
}

bool TDataSet::GetNextRecord() {
    if (recordCount_ > 0) {
        SetCurrentRecord(recordCount_ - 1);
    }
    if (!FetchInto(buffers_[recordCount_], gmNext)) {
        CursorPosChanged();
        return false;
    }
    if (recordCount_ == 0) {
        ActivateBuffers();
    } else if (recordCount_ < bufferCount_) {
        ++recordCount_;
    } else {
        MoveBuffer(0, recordCount_);
        activeRecord_ = std::max(activeRecord_ - 1, 0);
    }
    currentRecord_ = recordCount_ - 1;
    return true;
}

bool TDataSet::GetPriorRecord() {
    if (recordCount_ > 0) {
        SetCurrentRecord(0);
    }
    if (!FetchInto(buffers_[recordCount_], gmPrior)) {
        CursorPosChanged();
        return false;
    }
    MoveBuffer(recordCount_, 0);
    if (recordCount_ == 0) {
        ActivateBuffers();
    } else {
        if (recordCount_ < bufferCount_) {
            ++recordCount_;
        }
        activeRecord_ = std::min(activeRecord_ + 1, recordCount_ - 1);
    }
    currentRecord_ = 0;
    return true;
}

int TDataSet::GetNextRecords() {
    int count = 0;
    while (recordCount_ < bufferCount_ && GetNextRecord()) {
        ++count;
    }
    return count;
}

int TDataSet::GetPriorRecords() {
    int count = 0;
    while (recordCount_ < bufferCount_ && GetPriorRecord()) {
        ++count;
    }
    return count;
}

void TDataSet::Resync(TResyncMode mode) {
    TRecordBuffer& first = buffers_[0];
    if (!FetchInto(first, gmCurrent) && !FetchInto(first, gmNext) && !FetchInto(first, gmPrior)) {
        ClearBuffers();
        DataEvent(deDataSetChange);
        return;
    }
    int before = mode == rmCenter ? (bufferCount_ - 1) / 2 : std::min(activeRecord_, bufferCount_ - 1);
    ActivateBuffers();
    if (!IsUniDirectional()) {
        while (before > 0 && GetPriorRecord()) {
            --before;
        }
    }
    GetNextRecords();
    if (!IsUniDirectional()) {
        GetPriorRecords();
    }
    DataEvent(deDataSetChange);
}

// ---------------------------------------------------------------------------------------------
// Moving

void TDataSet::CheckUniDirectional() const {
    if (IsUniDirectional()) {
        DatabaseError("Operation not allowed on a unidirectional dataset");
    }
}

void TDataSet::First() {
    CheckBrowseMode();
    Notify(BeforeScroll, this);
    try {
        FillWindowFromStart();
    } catch (...) {
        bof_ = true;
        DataEvent(deDataSetChange);
        throw;
    }
    DataEvent(deDataSetChange);
    Notify(AfterScroll, this);
}

void TDataSet::Last() {
    CheckUniDirectional();
    CheckBrowseMode();
    Notify(BeforeScroll, this);
    ClearBuffers();
    try {
        InternalLast();
        GetPriorRecord();
        GetPriorRecords();
        activeRecord_ = std::max(recordCount_ - 1, 0);
    } catch (...) {
        eof_ = true;
        DataEvent(deDataSetChange);
        throw;
    }
    eof_ = true;
    DataEvent(deDataSetChange);
    Notify(AfterScroll, this);
}

int TDataSet::MoveBy(int distance) {
    if (distance < 0) {
        CheckUniDirectional();
    }
    CheckBrowseMode();
    if ((distance > 0 && eof_) || (distance < 0 && bof_) || distance == 0) {
        return 0;
    }
    bof_ = false;
    eof_ = false;
    Notify(BeforeScroll, this);
    const int previousCount = recordCount_;
    int windowShift = 0;
    const int moved =
        distance > 0 ? MoveForward(distance, windowShift) : -MoveBackward(-distance, windowShift);
    if (recordCount_ != previousCount) {
        DataEvent(deDataSetChange);
    } else {
        DataEvent(deDataSetScroll, windowShift);
    }
    Notify(AfterScroll, this);
    return moved;
}

// Rows dropped from the front of a full window move the links' first row up: a negative shift.
int TDataSet::MoveForward(int distance, int& windowShift) {
    int moved = 0;
    for (; moved < distance; ++moved) {
        if (activeRecord_ < recordCount_ - 1) {
            ++activeRecord_;
            continue;
        }
        const bool full = recordCount_ == bufferCount_;
        if (!GetNextRecord()) {
            eof_ = true;
            break;
        }
        windowShift -= full ? 1 : 0;
        activeRecord_ = recordCount_ - 1;
    }
    return moved;
}

int TDataSet::MoveBackward(int distance, int& windowShift) {
    int moved = 0;
    for (; moved < distance; ++moved) {
        if (activeRecord_ > 0) {
            --activeRecord_;
            continue;
        }
        const bool full = recordCount_ == bufferCount_;
        if (!GetPriorRecord()) {
            bof_ = true;
            break;
        }
        windowShift += full ? 1 : 0;
        activeRecord_ = 0;
    }
    return moved;
}

bool TDataSet::Locate(const std::string&, const std::vector<TVariant>&, TLocateOptions) {
    return false;
}

// ---------------------------------------------------------------------------------------------
// Bookmarks

TBookmark TDataSet::GetBookmark() const {
    const bool available = (state_ == dsBrowse && recordCount_ > 0) || state_ == dsEdit;
    return available && ActiveBuffer().BookmarkFlag == bfCurrent ? ActiveBuffer().Bookmark : TBookmark{};
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    if (bookmark.empty()) {
        return;
    }
    CheckBrowseMode();
    Notify(BeforeScroll, this);
    InternalGotoBookmark(bookmark);
    Resync(rmCenter);
    Notify(AfterScroll, this);
}

void TDataSet::InternalGotoBookmark(const TBookmark&) {
    DatabaseError("Bookmarks are not supported by this dataset");
}

bool TDataSet::BookmarkValid(const TBookmark&) const {
    return false;
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    if (a.empty() || b.empty()) {
        return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
    }
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace contado
