#include "data/dataset/datasource.h"

#include <algorithm>

#include "core/exceptions.h"
#include "data/dataset/datalink.h"
#include "data/dataset/dataset.h"

namespace contado {

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
    for (TDataLink* link : std::vector<TDataLink*>(dataLinks_)) {
        link->dataSource_ = nullptr;
        link->UpdateState();
    }
    dataLinks_.clear();
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) {
        return;
    }
    if (dataSet != nullptr && dataSet->IsLinkedTo(this)) {
        throw EDatabaseError(PrefixedMessage(Name(), "Circular datalinks are not allowed"));
    }
    if (dataSet_ != nullptr) {
        dataSet_->RemoveDataSource(this);
    }
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) {
        dataSet_->AddDataSource(this);
    }
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateState();
}

void TDataSource::Edit() {
    if (autoEdit_ && state_ == dsBrowse) {
        dataSet_->Edit();
    }
}

void TDataSource::AddDataLink(TDataLink* link) {
    dataLinks_.push_back(link);
    if (dataSet_ != nullptr) {
        dataSet_->UpdateBufferCount();
    }
}

void TDataSource::RemoveDataLink(TDataLink* link) {
    dataLinks_.erase(std::remove(dataLinks_.begin(), dataLinks_.end(), link), dataLinks_.end());
    if (dataSet_ != nullptr) {
        dataSet_->UpdateBufferCount();
    }
}

void TDataSource::UpdateState() {
    const TDataSetState state = enabled_ && dataSet_ != nullptr ? dataSet_->State() : dsInactive;
    if (state == state_) {
        return;
    }
    const TDataSetState previous = state_;
    state_ = state;
    NotifyLinks(deUpdateState, 0);
    if (OnStateChange) {
        OnStateChange(this);
    }
    if (previous == dsInactive) {
        CallDataChange(nullptr);
    }
}

void TDataSource::DataEvent(TDataEvent event, std::intptr_t info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == dsInactive) {
        return;
    }
    NotifyLinks(event, info);
    switch (event) {
        case deFieldChange:
            CallDataChange(reinterpret_cast<TField*>(info));
            break;
        case deRecordChange:
        case deDataSetChange:
        case deDataSetScroll:
        case deLayoutChange:
            CallDataChange(nullptr);
            break;
        case deUpdateRecord:
            if (OnUpdateData) {
                OnUpdateData(this);
            }
            break;
        default:
            break;
    }
}

void TDataSource::CallDataChange(TField* field) {
    if (OnDataChange) {
        OnDataChange(this, field);
    }
}

// Links that do not belong to a visual control hear of an event first, then the visual ones;
// within each pass the most recently attached link comes first.
void TDataSource::NotifyLinks(TDataEvent event, std::intptr_t info) {
    const std::vector<TDataLink*> links(dataLinks_);
    NotifyPass(links, false, event, info);
    NotifyPass(links, true, event, info);
}

void TDataSource::NotifyPass(const std::vector<TDataLink*>& links, bool visual, TDataEvent event,
                             std::intptr_t info) {
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        const bool stillAttached = std::find(dataLinks_.begin(), dataLinks_.end(), *link) != dataLinks_.end();
        if (stillAttached && (*link)->VisualControl() == visual) {
            (*link)->DataEvent(event, info);
        }
    }
}

}  // namespace contado
