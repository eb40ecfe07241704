#include "data/dataset/dataset.h"

#include <algorithm>

// Inserting, editing, posting, cancelling and deleting records.

namespace contado {

// ---------------------------------------------------------------------------------------------
// Editing

void TDataSet::Edit() {
    if (state_ == dsEdit || state_ == dsInsert) {
        return;
    }
    if (recordCount_ == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    Notify(BeforeEdit, this);
    UpdateCursorPos();
    RunGuarded([this] { InternalEdit(); }, OnEditError);
    SetState(dsEdit);
    DataEvent(deRecordChange);
    Notify(AfterEdit, this);
}

void TDataSet::BeginInsertAppend() {
    CheckBrowseMode();
    Notify(BeforeInsert, this);
    Notify(BeforeScroll, this);
}

void TDataSet::EndInsertAppend() {
    SetState(dsInsert);
    try {
        Notify(OnNewRecord, this);
    } catch (...) {
        UpdateCursorPos();
        SetState(dsBrowse);
        Resync();
        throw;
    }
    modified_ = false;
    DataEvent(deDataSetChange);
    Notify(AfterInsert, this);
    Notify(AfterScroll, this);
}

void TDataSet::Insert() {
    BeginInsertAppend();
    TBookmark current = recordCount_ > 0 ? ActiveBuffer().Bookmark : TBookmark{};
    MoveBuffer(recordCount_, activeRecord_);
    TRecordBuffer& buffer = ActiveBuffer();
    PrepareBuffer(buffer);
    InternalInitRecord(buffer);
    buffer.Bookmark = std::move(current);
    buffer.BookmarkFlag = recordCount_ == 0 ? bfBOF : bfInserted;
    if (recordCount_ < bufferCount_) {
        ++recordCount_;
    }
    CursorPosChanged();
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::Append() {
    BeginInsertAppend();
    ClearBuffers();
    InternalLast();
    TRecordBuffer& buffer = buffers_[0];
    PrepareBuffer(buffer);
    InternalInitRecord(buffer);
    buffer.Bookmark.clear();
    buffer.BookmarkFlag = bfEOF;
    recordCount_ = 1;
    currentRecord_ = 0;
    bof_ = false;
    GetPriorRecords();
    activeRecord_ = recordCount_ - 1;
    CursorPosChanged();
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::InternalInitRecord(TRecordBuffer& buffer) {
    std::fill(buffer.Values.begin(), buffer.Values.end(), TVariant(TNull{}));
}

void TDataSet::Post() {
    UpdateRecord();
    if (state_ != dsEdit && state_ != dsInsert) {
        return;
    }
    DataEvent(deCheckBrowseMode);
    Notify(BeforePost, this);
    UpdateCursorPos();
    RunGuarded([this] { InternalPost(); }, OnPostError);
    SetState(dsBrowse);
    Resync();
    Notify(AfterPost, this);
}

void TDataSet::InternalPost() {
    DatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::Cancel() {
    if (state_ != dsEdit && state_ != dsInsert) {
        return;
    }
    DataEvent(deCheckBrowseMode);
    Notify(BeforeCancel, this);
    const bool insertion = state_ == dsInsert;
    if (insertion) {
        Notify(BeforeScroll, this);
    }
    UpdateCursorPos();
    InternalCancel();
    SetState(dsBrowse);
    Resync();
    Notify(AfterCancel, this);
    if (insertion) {
        Notify(AfterScroll, this);
    }
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert || state_ == dsSetKey) {
        Cancel();
        return;
    }
    if (recordCount_ == 0) {
        DatabaseError("Cannot perform this operation on an empty dataset");
    }
    DataEvent(deCheckBrowseMode);
    Notify(BeforeDelete, this);
    Notify(BeforeScroll, this);
    UpdateCursorPos();
    RunGuarded([this] { InternalDelete(); }, OnDeleteError);
    SetState(dsBrowse);
    Resync();
    Notify(AfterDelete, this);
    Notify(AfterScroll, this);
}

void TDataSet::InternalDelete() {
    DatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    switch (state_) {
        case dsEdit:
        case dsInsert:
            UpdateRecord();
            if (modified_) {
                Post();
            } else {
                Cancel();
            }
            break;
        case dsSetKey:
            Post();
            break;
        default:
            break;
    }
}

void TDataSet::UpdateRecord() {
    if (!IsEditingState(state_)) {
        DatabaseError("Dataset not in edit or insert mode");
    }
    DataEvent(deUpdateRecord);
}

// Runs an edit, post or delete; an EDatabaseError goes to the error event, whose action raises it
// again (daFail), ends the operation silently (daAbort) or runs it again (daRetry).
void TDataSet::RunGuarded(const std::function<void()>& operation, const TErrorEvent& onError) {
    while (true) {
        try {
            operation();
            return;
        } catch (EDatabaseError& error) {
            TDataAction action = daFail;
            if (onError) {
                onError(this, error, action);
            }
            if (action == daFail) {
                throw;
            }
            if (action == daAbort) {
                throw EAbort();
            }
        }
    }
}

}  // namespace contado
