#pragma once

#include <string>
#include <vector>

#include "data/dataset/datalink.h"
#include "data/dataset/dataset.h"

namespace contado {

// Names of the data events as the tests write them.
std::string DataEventName(TDataEvent event);

// A link that writes every data event it receives, and the window shifts it is told of, to a log.
class TRecordingLink : public TDataLink {
  public:
    TRecordingLink(std::vector<std::string>& log, std::string name, bool visual = false);

    void DataEvent(TDataEvent event, std::intptr_t info) override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

    std::vector<int> Scrolls;
    int RecordChanges = 0;
    // Written into this field during update data, when set.
    TField* FieldToWrite = nullptr;

  private:
    std::vector<std::string>& log_;
    std::string name_;
};

// Writes the dataset's before/after events to the log.
void RecordDataSetEvents(TDataSet& dataSet, std::vector<std::string>& log);

}  // namespace contado
