#include "data/dataset/dataset.h"

#include <algorithm>

#include "core/textutil.h"
#include "data/dataset/datalink.h"
#include "data/dataset/datasource.h"
#include "data/fields/field.h"

namespace contado {

namespace {

// The value copied over the target; a target that holds a number of the same kind (or nothing)
// takes it without the variant's general assignment, which costs more on a path run for every
// column of every fetched row.
void CopyValue(const TVariant& source, TVariant& target) {
    if (source.index() == target.index()) {
        if (const auto* integer = std::get_if<std::int64_t>(&source)) {
            *std::get_if<std::int64_t>(&target) = *integer;
            return;
        }
        if (const auto* decimal = std::get_if<TBcd>(&source)) {
            *std::get_if<TBcd>(&target) = *decimal;
            return;
        }
        if (const auto* real = std::get_if<double>(&source)) {
            *std::get_if<double>(&target) = *real;
            return;
        }
        if (VarIsEmptyOrNull(source)) {
            return;
        }
    }
    target = source;
}

}  // namespace

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {
    SetBufferCount(1);
}

TDataSet::~TDataSet() {
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
        source->SetDataSet(nullptr);
    }
    for (TField* field : fields_) {
        field->dataSet_ = nullptr;
    }
    fields_.clear();
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

void TDataSet::SetActive(bool active) {
    if (active == Active()) {
        return;
    }
    if (active) {
        Notify(BeforeOpen, this);
        try {
            OpenCursor();
        } catch (...) {
            CloseCursor();
            throw;
        }
        SetState(dsBrowse);
        Notify(AfterOpen, this);
    } else {
        Notify(BeforeClose, this);
        SetState(dsInactive);
        CloseCursor();
        Notify(AfterClose, this);
    }
}

void TDataSet::CloseForDestruction() {
    if (Active()) {
        SetState(dsInactive);
        CloseCursor();
    }
}

void TDataSet::OpenCursor() {
    InternalOpen();
    if (fields_.empty()) {
        CreateDefaultFields();
    }
    BindFields();
    UpdateBufferCount();
    FillWindowFromStart();
}

void TDataSet::CloseCursor() {
    if (IsCursorOpen()) {
        InternalClose();
    }
    ClearBuffers();
    DestroyDefaultFields();
    for (TField* field : fields_) {
        field->Bind(0, -1);
    }
}

void TDataSet::FillWindowFromStart() {
    ClearBuffers();
    InternalFirst();
    GetNextRecords();
    bof_ = true;
}

void TDataSet::CreateDefaultFields() {
    for (const TFieldDef& def : fieldDefs_) {
        TField* field = def.CreateField(this);
        field->SetDataSet(this);
    }
    defaultFields_ = true;
}

void TDataSet::DestroyDefaultFields() {
    if (!defaultFields_) {
        return;
    }
    defaultFields_ = false;
    while (!fields_.empty()) {
        delete fields_.back();  // removes itself from fields_
    }
}

void TDataSet::BindFields() {
    calcFieldCount_ = 0;
    const int columns = fieldDefs_.Count();
    for (TField* field : fields_) {
        if (field->FieldKind() == fkData) {
            const TFieldDef* def = fieldDefs_.Find(field->FieldName());
            if (def == nullptr) {
                DatabaseError(FormatMessage("Field '%s' not found", field->FieldName()));
            }
            CheckFieldCompatibility(*field, *def);
            field->Bind(def->FieldNo(), def->FieldNo() - 1);
        } else {
            field->Bind(-1, columns + calcFieldCount_++);
        }
    }
    recordSize_ = columns + calcFieldCount_;
}

void TDataSet::CheckFieldCompatibility(TField& field, const TFieldDef& def) {
    const bool bothText = IsTextType(field.DataType()) && IsTextType(def.DataType());
    const bool bothInteger = (field.DataType() == ftInteger || field.DataType() == ftAutoInc) &&
                             (def.DataType() == ftInteger || def.DataType() == ftAutoInc);
    if (field.DataType() != def.DataType() && !bothText && !bothInteger) {
        DatabaseError(FormatMessage("Type mismatch for field '%s', expecting: %s actual: %s",
                                    field.DisplayName(), FieldTypeName(field.DataType()),
                                    FieldTypeName(def.DataType())));
    }
    const TFieldType type = field.DataType();
    const bool sizeMatters = type == ftBCD || type == ftBytes || type == ftVarBytes || type == ftReference;
    if (sizeMatters && field.Size() != def.Size()) {
        DatabaseError(FormatMessage("Size mismatch for field '%s', expecting: %d actual: %d",
                                    field.DisplayName(), field.Size(), def.Size()));
    }
    if (IsTextType(type) && field.Size() > def.Size()) {
        field.SetSize(def.Size());
    }
}

// ---------------------------------------------------------------------------------------------
// Fields

void TDataSet::AddField(TField* field) {
    CheckInactive();
    fields_.push_back(field);
}

void TDataSet::RemoveField(TField* field) {
    fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
}

TField* TDataSet::FindField(const std::string& name) const {
    for (TField* field : fields_) {
        if (SameText(field->FieldName(), name)) {
            return field;
        }
    }
    return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const {
    TField* field = FindField(name);
    if (field == nullptr) {
        DatabaseError(FormatMessage("Field '%s' not found", name));
    }
    return *field;
}

TRecordBuffer* TDataSet::ActiveRecordBuffer() const {
    auto* self = const_cast<TDataSet*>(this);
    switch (state_) {
        case dsCalcFields:
        case dsInternalCalc:
            return calcTarget_;
        case dsFilter:
            return filterBuffer_;
        case dsEdit:
        case dsInsert:
        case dsSetKey:
            return &self->ActiveBuffer();
        case dsInactive:
        case dsOpening:
            return nullptr;
        default:
            return recordCount_ > 0 ? &self->ActiveBuffer() : nullptr;
    }
}

const TVariant& TDataSet::ValueIn(const TRecordBuffer* buffer, const TField& field) {
    const int index = field.BufferIndex();
    if (buffer == nullptr || index < 0 || index >= static_cast<int>(buffer->Values.size())) {
        return NullVariant();
    }
    return buffer->Values[index];
}

const TVariant& TDataSet::GetFieldValue(const TField& field) const {
    return ValueIn(ActiveRecordBuffer(), field);
}

void TDataSet::GetFieldValues(std::vector<TVariant>& values) const {
    const TRecordBuffer* buffer = ActiveRecordBuffer();
    values.resize(fields_.size());
    // ValueIn's reading, without a call per field.
    const int size = buffer == nullptr ? 0 : static_cast<int>(buffer->Values.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const int index = fields_[i]->BufferIndex();
        const TVariant& value = index >= 0 && index < size ? buffer->Values[index] : NullVariant();
        CopyValue(VarIsUnassigned(value) ? NullVariant() : value, values[i]);
    }
}

void TDataSet::SetFieldValue(TField& field, const TVariant& value) {
    TRecordBuffer* buffer = ActiveRecordBuffer();
    const int index = field.BufferIndex();
    if (buffer == nullptr || index < 0 || index >= static_cast<int>(buffer->Values.size())) {
        DatabaseError(FormatMessage("Field '%s' not found", field.FieldName()));
    }
    buffer->Values[index] = value;
    if (state_ != dsCalcFields && state_ != dsInternalCalc && state_ != dsFilter && state_ != dsNewValue) {
        DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(&field));
    }
}

TVariant TDataSet::StateFieldValue(TDataSetState state, const TField& field) {
    const TDataSetState previous = SetTempState(state);
    try {
        TVariant value = GetFieldValue(field);
        RestoreState(previous);
        return value;
    } catch (...) {
        RestoreState(previous);
        throw;
    }
}

void TDataSet::CheckRequiredFields() const {
    for (const TField* field : fields_) {
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData && field->IsNull()) {
            throw EDatabaseError(FormatMessage("Field '%s' must have a value", field->DisplayName()));
        }
    }
}

void TDataSet::CalculateFields(TRecordBuffer& buffer) {
    if (!HasCalcFields()) {
        return;
    }
    std::fill(buffer.Values.begin() + fieldDefs_.Count(), buffer.Values.end(), TVariant(TNull{}));
    if (!OnCalcFields) {
        return;
    }
    calcTarget_ = &buffer;
    const TDataSetState previous = SetTempState(dsCalcFields);
    try {
        OnCalcFields(this);
    } catch (...) {
        RestoreState(previous);
        throw;
    }
    RestoreState(previous);
}

// ---------------------------------------------------------------------------------------------
// States and events

void TDataSet::SetState(TDataSetState state) {
    if (state_ != state) {
        state_ = state;
        modified_ = false;
        DataEvent(deUpdateState);
    }
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
    const TDataSetState previous = state_;
    state_ = state;
    ++disableCount_;
    return previous;
}

void TDataSet::RestoreState(TDataSetState previous) {
    state_ = previous;
    --disableCount_;
}

void TDataSet::DisableControls() {
    if (disableCount_++ == 0) {
        stateBeforeDisable_ = state_;
        enableEvent_ = deDataSetChange;
    }
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0 || --disableCount_ != 0) {
        return;
    }
    if (state_ != stateBeforeDisable_) {
        DataEvent(deUpdateState);
    }
    if (IsActiveState(stateBeforeDisable_) && Active()) {
        DataEvent(enableEvent_);
    }
}

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info) {
    DoDataSetWork(event, info);
    const bool sendAnyway = event == deDisabledStateChange;
    if ((disableCount_ == 0 || sendAnyway) && state_ != dsBlockRead) {
        NotifyDataSources(event, info);
    }
}

void TDataSet::DoDataSetWork(TDataEvent& event, std::intptr_t& info) {
    switch (event) {
        case deFieldChange: {
            const auto* field = reinterpret_cast<const TField*>(info);
            if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) {
                modified_ = true;
            }
            if (state_ != dsSetKey && recordCount_ > 0) {
                CalculateFields(ActiveBuffer());
            }
            break;
        }
        case deLayoutChange:
        case deFieldListChange:
            if (ControlsDisabled()) {
                enableEvent_ = deLayoutChange;
            }
            break;
        case deUpdateState:
            if (ControlsDisabled()) {
                event = deDisabledStateChange;
                info = Active() ? 1 : 0;
                enableEvent_ = deLayoutChange;
            }
            break;
        default:
            break;
    }
}

void TDataSet::NotifyDataSources(TDataEvent event, std::intptr_t info) {
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
        source->DataEvent(event, info);
    }
}

void TDataSet::AddDataSource(TDataSource* source) {
    dataSources_.push_back(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source), dataSources_.end());
    UpdateBufferCount();
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const {
    const TDataSet* dataSet = this;
    for (int depth = 0; dataSet != nullptr && depth < 64; ++depth) {
        const TDataSource* master = dataSet->MasterSource();
        if (master == nullptr) {
            return false;
        }
        if (master == source) {
            return true;
        }
        dataSet = master->DataSet();
    }
    return false;
}

void TDataSet::CheckActive() const {
    if (!Active()) {
        DatabaseError("Cannot perform this operation on a closed dataset");
    }
}

void TDataSet::CheckInactive() const {
    if (Active()) {
        DatabaseError("Cannot perform this operation on an open dataset");
    }
}

void TDataSet::DatabaseError(const std::string& message) const {
    throw EDatabaseError(PrefixedMessage(Name(), message));
}

void TDataSet::Notify(const TNotifyEvent& event, TDataSet* dataSet) {
    if (event) {
        event(dataSet);
    }
}

}  // namespace contado
