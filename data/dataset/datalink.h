#pragma once

#include <cstdint>

#include "data/dataset/datasettypes.h"

namespace contado {

class TDataSet;
class TDataSource;
class TField;

// A control's view of a dataset through a data source: a window of rows (the buffer count) and
// the callbacks the control overrides. The base callbacks do nothing, except that a scroll and a
// layout change count as a dataset change, and a dataset change as a record change of no field.
class TDataLink {
  public:
    TDataLink() = default;
    virtual ~TDataLink();

    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    // "DataSource cannot be changed" (with the source's name) when the link is fixed to its source.
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool DataSourceFixed() const { return dataSourceFixed_; }
    void SetDataSourceFixed(bool fixed) { dataSourceFixed_ = fixed; }

    bool Active() const { return active_; }
    bool Editing() const { return editing_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Index of the dataset buffer shown in the control's first row.
    int FirstRecord() const { return firstRecord_; }
    bool VisualControl() const { return visualControl_; }

    // Asks the data source to edit unless read-only; answers whether the link now edits.
    bool Edit();
    // Lets the control write its pending value, ignoring the field change its own write causes.
    void UpdateRecord();

    // Slots in their traditional order.
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataEvent(TDataEvent event, std::intptr_t info);
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int) { DataSetChanged(); }
    virtual void EditingChanged() {}
    // The field asking for focus is passed by reference: a control that takes it clears it.
    virtual void FocusControl(TField**) {}
    // The active row within the window; 0 in set-key state.
    virtual int ActiveRecord() const;
    virtual bool Bof() const;
    virtual int BufferCount() const { return bufferCount_; }
    virtual bool Eof() const;
    // Rows in the window: the smaller of the buffer count and the dataset's buffered rows.
    virtual int RecordCount() const;
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual int MoveBy(int distance);
    virtual void RecordChanged(TField*) {}
    virtual void SetActiveRecord(int index);
    virtual void SetBufferCount(int count);
    virtual void UpdateData() {}

  protected:
    void SetVisualControl(bool visual) { visualControl_ = visual; }
    bool Updating() const { return updating_; }

  private:
    friend class TDataSet;
    friend class TDataSource;

    void UpdateState();
    void SetActive(bool active);
    void SetEditing(bool editing);
    void UpdateRange();
    int WindowShift(std::intptr_t info);

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool updating_ = false;
    bool visualControl_ = false;
    bool dataSourceFixed_ = false;
    int bufferCount_ = 1;
    int firstRecord_ = 0;
};

}  // namespace contado
