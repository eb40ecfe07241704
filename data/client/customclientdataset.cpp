#include "data/client/customclientdataset.h"

#include <cstring>

#include "data/fields/field.h"
#include "platform/dsengine/dsstatus.h"

namespace contado {

namespace {

bool IsTrue(const TVariant& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    const auto* number = std::get_if<std::int64_t>(&value);
    return number != nullptr && *number != 0;
}

}  // namespace

TCustomClientDataSet::TCustomClientDataSet(TComponent* owner) : TDataSet(owner) {}

TCustomClientDataSet::~TCustomClientDataSet() {
    CloseForDestruction();
}

void TCustomClientDataSet::Check(int status) const {
    if (status != dsstatus::kOk) {
        throw EDBClient(base_ ? base_->ErrorText(status) : DSErrorText(status), status);
    }
}

bool TCustomClientDataSet::PacketOption(const char* name) const {
    return base_ != nullptr && IsTrue(base_->Attribute(name));
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

void TCustomClientDataSet::InternalOpen() {
    bool allRowsArrived = false;
    // The rows go into the new table in parts as the provider writes them, so no packet of every
    // row is held beside the table.
    std::unique_ptr<IDSBase> base = CreateDSBase();
    TDataPacket packet = FirstPacket(
        allRowsArrived, [this, &base](const TDataPacket& part) { Check(base->AppendData(part, false)); });
    base_ = std::move(base);
    Check(base_->AppendData(packet, allRowsArrived));
    Check(base_->CreateCursor(cursor_));
    DefineFieldsFromColumns();
    if (filtered_ && !filter_.empty()) {
        ActivateFilter(filter_, ParseOptions());
    }
}

void TCustomClientDataSet::DefineFieldsFromColumns() {
    FieldDefs().Clear();
    for (const TPacketColumn& column : base_->Columns()) {
        TFieldDef def(column.Name, column.Type, column.Size, column.Required);
        def.SetPrecision(column.Precision);
        def.SetReadOnly(column.ReadOnly);
        auto subtype = column.Attributes.find("SUBTYPE");
        bool fixedChar = subtype != column.Attributes.end() &&
                         std::holds_alternative<std::string>(subtype->second) &&
                         std::get<std::string>(subtype->second) == "FixedChar";
        def.SetFixed(column.Type == ftFixedChar || fixedChar);
        FieldDefs().Add(def);
    }
}

void TCustomClientDataSet::InternalClose() {
    CloseSource();
    cursor_.reset();
    base_.reset();
    filterHandle_ = 0;
}

void TCustomClientDataSet::AppendPacket(const TDataPacket& packet, bool allRowsArrived) {
    Check(base_->AppendData(packet, allRowsArrived));
}

void TCustomClientDataSet::FetchAll() {
    while (!AllRowsArrived() && FetchMore(true) > 0) {
    }
}

// ---------------------------------------------------------------------------------------------
// Reading rows

void TCustomClientDataSet::InternalFirst() {
    Check(cursor_->MoveToBOF());
}

void TCustomClientDataSet::InternalLast() {
    FetchAll();
    Check(cursor_->MoveToEOF());
}

bool TCustomClientDataSet::MoveNextFetching() {
    int count = 0;
    Check(cursor_->GetRecordCount(count));
    int status = cursor_->MoveRelative(1);
    while (status == dsstatus::kEndOfRows && !AllRowsArrived() && FetchMore(false) > 0) {
        int grown = 0;
        Check(cursor_->GetRecordCount(grown));
        if (grown > count) {
            Check(cursor_->MoveToSeqNo(count + 1));
            status = dsstatus::kOk;
        }
    }
    if (status != dsstatus::kEndOfRows) {
        Check(status);
    }
    return status == dsstatus::kOk;
}

TGetResult TCustomClientDataSet::GetRecord(TRecordBuffer& buffer, TGetMode mode) {
    switch (mode) {
        case gmNext:
            if (!MoveNextFetching()) {
                return grEOF;
            }
            break;
        case gmPrior: {
            int status = cursor_->MoveRelative(-1);
            if (status == dsstatus::kBeginningOfRows) {
                return grBOF;
            }
            Check(status);
            break;
        }
        case gmCurrent:
            if (cursor_->GetCurrentRecord(scratch_) != dsstatus::kOk) {
                return grError;
            }
            break;
    }
    FillBuffer(buffer);
    return grOK;
}

void TCustomClientDataSet::FillBuffer(TRecordBuffer& buffer) {
    Check(cursor_->GetCurrentRecord(scratch_));
    std::copy(scratch_.begin(), scratch_.end(), buffer.Values.begin());
    TDSBookmark mark = 0;
    Check(cursor_->GetCurrentBookmark(mark));
    buffer.Bookmark = ToBookmark(mark);
    buffer.BookmarkFlag = bfCurrent;
}

TBookmark TCustomClientDataSet::ToBookmark(TDSBookmark mark) {
    TBookmark bookmark(sizeof mark);
    std::memcpy(bookmark.data(), &mark, sizeof mark);
    return bookmark;
}

TDSBookmark TCustomClientDataSet::FromBookmark(const TBookmark& bookmark) {
    TDSBookmark mark = 0;
    if (bookmark.size() == sizeof mark) {
        std::memcpy(&mark, bookmark.data(), sizeof mark);
    }
    return mark;
}

void TCustomClientDataSet::InternalSetToRecord(const TRecordBuffer& buffer) {
    switch (buffer.BookmarkFlag) {
        case bfBOF:
            Check(cursor_->MoveToBOF());
            break;
        case bfEOF:
            Check(cursor_->MoveToEOF());
            break;
        default:
            Check(cursor_->MoveToBookmark(FromBookmark(buffer.Bookmark)));
            break;
    }
}

void TCustomClientDataSet::InternalGotoBookmark(const TBookmark& bookmark) {
    Check(cursor_->MoveToBookmark(FromBookmark(bookmark)));
}

// ---------------------------------------------------------------------------------------------
// Positions

int TCustomClientDataSet::RecNo() const {
    if (!cursor_ || State() == dsInsert || IsEmpty()) {
        return -1;
    }
    auto* self = const_cast<TCustomClientDataSet*>(this);
    int sequence = -1;
    if (cursor_->MoveToBookmark(FromBookmark(ActiveBuffer().Bookmark)) == dsstatus::kOk) {
        cursor_->GetSequenceNumber(sequence);
    }
    self->CursorPosChanged();
    return sequence;
}

void TCustomClientDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    if (recNo < 1 || recNo > RecordCount() || recNo == RecNo()) {
        return;
    }
    if (BeforeScroll) {
        BeforeScroll(this);
    }
    Check(cursor_->MoveToSeqNo(recNo));
    Resync(rmCenter);
    if (AfterScroll) {
        AfterScroll(this);
    }
}

int TCustomClientDataSet::RecordCount() const {
    int count = 0;
    if (cursor_) {
        Check(cursor_->GetRecordCount(count));
    }
    return count;
}

bool TCustomClientDataSet::CanModify() const {
    return Active() && !PacketOption("READONLY");
}

bool TCustomClientDataSet::BookmarkValid(const TBookmark& bookmark) const {
    if (!cursor_ || bookmark.empty()) {
        return false;
    }
    bool valid = cursor_->MoveToBookmark(FromBookmark(bookmark)) == dsstatus::kOk;
    const_cast<TCustomClientDataSet*>(this)->CursorPosChanged();
    return valid;
}

int TCustomClientDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    if (!cursor_) {
        return TDataSet::CompareBookmarks(a, b);
    }
    int order = 0;
    Check(cursor_->CompareBookmarks(FromBookmark(a), FromBookmark(b), order));
    return order;
}

void TCustomClientDataSet::Refresh() {
    if (!IsEmpty() && cursor_->MoveToBookmark(FromBookmark(ActiveBuffer().Bookmark)) != dsstatus::kOk) {
        cursor_->MoveToBOF();
    }
    CursorPosChanged();
    Resync();
}

// ---------------------------------------------------------------------------------------------
// Editing

int TCustomClientDataSet::ChangeCount() const {
    int count = 0;
    if (base_) {
        Check(base_->GetChangeCount(count));
    }
    return count;
}

void TCustomClientDataSet::CheckInsertAllowed() const {
    CheckActive();
    if (PacketOption("DISABLE_INSERTS")) {
        DatabaseError("Inserts are not allowed");
    }
}

void TCustomClientDataSet::Insert() {
    CheckInsertAllowed();
    TDataSet::Insert();
}

void TCustomClientDataSet::Append() {
    CheckInsertAllowed();
    TDataSet::Append();
}

void TCustomClientDataSet::InternalInitRecord(TRecordBuffer& buffer) {
    // Columns nobody sets stay unassigned, so the provider leaves them out of the insert.
    std::fill(buffer.Values.begin(), buffer.Values.end(), TVariant(TNull{}));
    std::fill(buffer.Values.begin(), buffer.Values.begin() + FieldDefs().Count(), TVariant());
}

void TCustomClientDataSet::InternalEdit() {
    if (PacketOption("DISABLE_EDITS")) {
        DatabaseError("Modifications are not allowed");
    }
}

TDSRecord TCustomClientDataSet::RecordOf(const TRecordBuffer& buffer) const {
    return TDSRecord(buffer.Values.begin(), buffer.Values.begin() + FieldDefs().Count());
}

void TCustomClientDataSet::InternalPost() {
    CheckRequiredFields();
    TDSRecord record = RecordOf(ActiveBuffer());
    Check(State() == dsInsert ? cursor_->InsertRecord(record) : cursor_->ModifyRecord(record));
}

void TCustomClientDataSet::InternalDelete() {
    if (PacketOption("DISABLE_DELETES")) {
        DatabaseError("Deletes are not allowed");
    }
    Check(cursor_->DeleteRecord());
}

}  // namespace contado
