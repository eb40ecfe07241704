#include "data/dataset/datalink.h"

#include <algorithm>

#include "core/exceptions.h"
#include "data/dataset/dataset.h"
#include "data/dataset/datasource.h"

namespace contado {

TDataLink::~TDataLink() {
    if (dataSource_ != nullptr) {
        dataSource_->RemoveDataLink(this);
    }
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_) {
        return;
    }
    if (dataSourceFixed_) {
        throw EDatabaseError(PrefixedMessage(dataSource_ != nullptr ? dataSource_->Name() : std::string(),
                                             "DataSource cannot be changed"));
    }
    if (dataSource_ != nullptr) {
        dataSource_->RemoveDataLink(this);
    }
    dataSource_ = source;
    if (dataSource_ != nullptr) {
        dataSource_->AddDataLink(this);
    }
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly) {
    if (readOnly_ != readOnly) {
        readOnly_ = readOnly;
        UpdateState();
    }
}

bool TDataLink::Edit() {
    if (!readOnly_ && dataSource_ != nullptr) {
        dataSource_->Edit();
    }
    return editing_;
}

void TDataLink::UpdateRecord() {
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TDataLink::UpdateState() {
    const TDataSetState state = dataSource_ != nullptr ? dataSource_->State() : dsInactive;
    SetActive(state != dsInactive);
    SetEditing(IsEditingState(state) && !readOnly_);
}

void TDataLink::SetActive(bool active) {
    if (active_ == active) {
        return;
    }
    active_ = active;
    if (active) {
        UpdateRange();
    } else {
        firstRecord_ = 0;
    }
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing) {
    if (editing_ != editing) {
        editing_ = editing;
        EditingChanged();
    }
}

// Brings the window into the dataset's buffers, keeping the active row inside it.
void TDataLink::UpdateRange() {
    const TDataSet* dataSet = DataSet();
    const int active = dataSet->ActiveRecord();
    const int lowest = std::max(active - bufferCount_ + 1, 0);
    const int highest = std::min(std::max(dataSet->BufferCount() - bufferCount_, 0), active);
    firstRecord_ = std::clamp(firstRecord_, lowest, std::max(lowest, highest));
}

void TDataLink::DataEvent(TDataEvent event, std::intptr_t info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_) {
        return;
    }
    switch (event) {
        case deFieldChange:
        case deRecordChange:
            if (!updating_) {
                RecordChanged(event == deFieldChange ? reinterpret_cast<TField*>(info) : nullptr);
            }
            break;
        case deDataSetChange:
            WindowShift(info);
            DataSetChanged();
            break;
        case deDataSetScroll:
            DataSetScrolled(WindowShift(info));
            break;
        case deLayoutChange:
            WindowShift(info);
            LayoutChanged();
            break;
        case deUpdateRecord:
            UpdateRecord();
            break;
        case deCheckBrowseMode:
            CheckBrowseMode();
            break;
        case deFocusControl:
            FocusControl(reinterpret_cast<TField**>(info));
            break;
        default:
            break;
    }
}

// Moves the window after the dataset's buffers moved by 'info' rows so that it holds the active
// row again; answers the number of rows the window moved.
int TDataLink::WindowShift(std::intptr_t info) {
    if (dataSource_->State() == dsSetKey) {
        return 0;
    }
    const int active = DataSet()->ActiveRecord();
    const int first = firstRecord_ + static_cast<int>(info);
    const int last = first + bufferCount_ - 1;
    int shift = 0;
    if (active > last) {
        shift = active - last;
    } else if (active < first) {
        shift = active - first;
    }
    firstRecord_ = first + shift;
    return shift;
}

int TDataLink::ActiveRecord() const {
    if (dataSource_ == nullptr || dataSource_->State() == dsSetKey) {
        return 0;
    }
    return DataSet()->ActiveRecord() - firstRecord_;
}

void TDataLink::SetActiveRecord(int index) {
    if (dataSource_ != nullptr && dataSource_->State() != dsSetKey) {
        DataSet()->SetActiveRecord(index + firstRecord_);
    }
}

int TDataLink::RecordCount() const {
    if (dataSource_ == nullptr) {
        return 0;
    }
    if (dataSource_->State() == dsSetKey) {
        return 1;
    }
    return std::min(DataSet()->BufferedRecordCount(), bufferCount_);
}

bool TDataLink::Bof() const {
    return DataSet()->Bof();
}

bool TDataLink::Eof() const {
    return DataSet()->Eof();
}

int TDataLink::MoveBy(int distance) {
    return DataSet()->MoveBy(distance);
}

void TDataLink::SetBufferCount(int count) {
    if (bufferCount_ == count) {
        return;
    }
    bufferCount_ = count;
    if (TDataSet* dataSet = DataSet()) {
        dataSet->UpdateBufferCount();
        if (active_) {
            UpdateRange();
        }
    }
}

}  // namespace contado
