#include "tests/data/dataset/recordinglink.h"

#include "data/fields/field.h"

namespace contado {

std::string DataEventName(TDataEvent event) {
    static const char* names[] = {
        "FieldChange",  "RecordChange", "DataSetChange",   "DataSetScroll",  "LayoutChange",
        "UpdateRecord", "UpdateState",  "CheckBrowseMode", "PropertyChange", "FieldListChange",
        "FocusControl", "ParentScroll", "ConnectChange",   "ReconcileError", "DisabledStateChange"};
    return names[event];
}

TRecordingLink::TRecordingLink(std::vector<std::string>& log, std::string name, bool visual)
    : log_(log), name_(std::move(name)) {
    SetVisualControl(visual);
}

void TRecordingLink::DataEvent(TDataEvent event, std::intptr_t info) {
    log_.push_back(name_.empty() ? "[" + DataEventName(event) + "]" : name_ + ":" + DataEventName(event));
    TDataLink::DataEvent(event, info);
}

void TRecordingLink::DataSetScrolled(int distance) {
    Scrolls.push_back(distance);
    TDataLink::DataSetScrolled(distance);
}

void TRecordingLink::RecordChanged(TField*) {
    ++RecordChanges;
}

void TRecordingLink::UpdateData() {
    if (FieldToWrite != nullptr) {
        FieldToWrite->SetAsString("written");
    }
}

void RecordDataSetEvents(TDataSet& dataSet, std::vector<std::string>& log) {
    auto record = [&log](const char* name) { return [&log, name](TDataSet*) { log.push_back(name); }; };
    dataSet.BeforeOpen = record("BeforeOpen");
    dataSet.AfterOpen = record("AfterOpen");
    dataSet.BeforeClose = record("BeforeClose");
    dataSet.AfterClose = record("AfterClose");
    dataSet.BeforeInsert = record("BeforeInsert");
    dataSet.AfterInsert = record("AfterInsert");
    dataSet.BeforeEdit = record("BeforeEdit");
    dataSet.AfterEdit = record("AfterEdit");
    dataSet.BeforePost = record("BeforePost");
    dataSet.AfterPost = record("AfterPost");
    dataSet.BeforeCancel = record("BeforeCancel");
    dataSet.AfterCancel = record("AfterCancel");
    dataSet.BeforeDelete = record("BeforeDelete");
    dataSet.AfterDelete = record("AfterDelete");
    dataSet.BeforeScroll = record("BeforeScroll");
    dataSet.AfterScroll = record("AfterScroll");
    dataSet.OnNewRecord = record("OnNewRecord");
}

}  // namespace contado
