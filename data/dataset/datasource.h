#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/component.h"
#include "data/dataset/datasettypes.h"

namespace contado {

class TDataLink;
class TDataSet;
class TField;

// Sits between one dataset and any number of data links: copies the dataset's state and passes
// its data events on to the links.
class TDataSource : public TComponent {
  public:
    using TNotifyEvent = std::function<void(TDataSource* sender)>;
    using TDataChangeEvent = std::function<void(TDataSource* sender, TField* field)>;

    explicit TDataSource(TComponent* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    // "Circular datalinks are not allowed" when the dataset is linked to this source through its
    // master sources.
    void SetDataSet(TDataSet* dataSet);
    // An edit request of a link puts a browsing dataset into edit state.
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The dataset's state; inactive when disabled or without a dataset.
    TDataSetState State() const { return state_; }
    const std::vector<TDataLink*>& DataLinks() const { return dataLinks_; }

    void Edit();

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

  private:
    friend class TDataSet;
    friend class TDataLink;

    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);
    void DataEvent(TDataEvent event, std::intptr_t info);
    void UpdateState();
    void NotifyLinks(TDataEvent event, std::intptr_t info);
    void NotifyPass(const std::vector<TDataLink*>& links, bool visual, TDataEvent event, std::intptr_t info);
    void CallDataChange(TField* field);

    TDataSet* dataSet_ = nullptr;
    bool autoEdit_ = true;
    bool enabled_ = true;
    TDataSetState state_ = dsInactive;
    std::vector<TDataLink*> dataLinks_;
};

}  // namespace contado
