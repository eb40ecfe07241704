#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/enumset.h"
#include "core/exceptions.h"
#include "data/dataset/datasettypes.h"
#include "data/fields/fielddefs.h"

namespace contado {

class TDataSource;
class TField;

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = TEnumSet<TLocateOption>;

// The base of every dataset: the state machine, the window of record buffers that data links
// look at, the data events, the fields and the before/after events. Concrete datasets supply a
// cursor through the protected hooks: open and close it, read a record into a buffer (next,
// prior or current), and, when they can be edited, initialise, post, cancel and delete records.
class TDataSet : public TComponent {
  public:
    using TNotifyEvent = std::function<void(TDataSet* dataSet)>;
    using TErrorEvent = std::function<void(TDataSet* dataSet, EDatabaseError& error, TDataAction& action)>;

    explicit TDataSet(TComponent* owner = nullptr);
    ~TDataSet() override;

    // --- Opening and closing
    bool Active() const { return IsActiveState(state_); }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return state_; }

    // --- Moving
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves by up to distance rows; answers the number of rows moved.
    int MoveBy(int distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    // No current row.
    bool IsEmpty() const { return ActiveRecordBuffer() == nullptr; }
    virtual int RecNo() const { return -1; }
    virtual void SetRecNo(int) {}
    virtual int RecordCount() const { return -1; }
    virtual bool IsSequenced() const { return false; }
    virtual bool CanModify() const { return false; }
    virtual bool Locate(const std::string& keyFields, const std::vector<TVariant>& keyValues,
                        TLocateOptions options);

    // --- Bookmarks
    // The active row's mark; empty when there is no row.
    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark);
    virtual bool BookmarkValid(const TBookmark& bookmark) const;
    virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;

    // --- Editing
    virtual void Edit();
    virtual void Insert();
    virtual void Append();
    virtual void Post();
    virtual void Cancel();
    virtual void Delete();
    // Ends a pending edit: posted when modified, cancelled when not.
    void CheckBrowseMode();
    // Lets the controls write their pending values into the fields.
    void UpdateRecord();
    bool Modified() const { return modified_; }

    // --- Controls
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ != 0; }
    // Does the dataset's part of an event, then hands it to the data sources.
    void DataEvent(TDataEvent event, std::intptr_t info = 0);

    // --- Fields
    TFieldDefs& FieldDefs() { return fieldDefs_; }
    const TFieldDefs& FieldDefs() const { return fieldDefs_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int index) const { return fields_.at(index); }
    TField* FindField(const std::string& name) const;
    // "Field '%s' not found" (with the dataset's name) when there is none.
    TField& FieldByName(const std::string& name) const;
    // Field values as fields read and write them, in the record that the state designates. The value
    // read is the record's own, valid until the record changes or another record is current.
    const TVariant& GetFieldValue(const TField& field) const;
    // Every field's value as the field reads it (null where it has none), in field order; the record
    // is looked up once for all of them.
    void GetFieldValues(std::vector<TVariant>& values) const;
    virtual void SetFieldValue(TField& field, const TVariant& value);
    // The field's value read in one of the temporary states (old, new or current value).
    TVariant StateFieldValue(TDataSetState state, const TField& field);

    // --- The window of record buffers, as data links see it
    int BufferCount() const { return bufferCount_; }
    int BufferedRecordCount() const { return recordCount_; }
    int ActiveRecord() const { return activeRecord_; }
    // Makes another row of the window the active one, without events (links read their rows so).
    void SetActiveRecord(int index);
    // Makes the window as large as the largest buffer count of the links of all data sources.
    void UpdateBufferCount();
    // The data source of a master dataset, when this dataset is a detail.
    virtual TDataSource* MasterSource() const { return nullptr; }
    // True when this dataset reaches the source through its master sources.
    bool IsLinkedTo(const TDataSource* source) const;

    TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeInsert, AfterInsert, BeforeEdit,
        AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete, BeforeScroll,
        AfterScroll, OnNewRecord, OnCalcFields;
    TErrorEvent OnEditError, OnPostError, OnDeleteError;

  protected:
    // --- Hooks of concrete datasets
    // Opens the cursor and fills FieldDefs(); the fields are bound afterwards.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual bool IsCursorOpen() const = 0;
    // Puts the cursor before the first row, or after the last.
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    // Reads the next or prior row (moving the cursor), or the one it stands on, into the buffer:
    // one value per column, the bookmark and bfCurrent.
    virtual TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) = 0;
    // Puts the cursor on the buffer's row. An inserted buffer carries the mark of the row it was
    // inserted before (bfInserted), an appended one bfEOF.
    virtual void InternalSetToRecord(const TRecordBuffer& buffer);
    virtual bool IsUniDirectional() const { return false; }
    // A new record: every value null.
    virtual void InternalInitRecord(TRecordBuffer& buffer);
    virtual void InternalEdit() {}
    virtual void InternalInsert() {}
    // Stores the active buffer (inserted or edited) and leaves the cursor on its row.
    virtual void InternalPost();
    virtual void InternalCancel() {}
    // Deletes the cursor's row and leaves the cursor on the row that takes its place.
    virtual void InternalDelete();
    virtual void InternalGotoBookmark(const TBookmark& bookmark);
    // Checks that a persistent field suits its column: "Type mismatch for field '%s', expecting: %s
    // actual: %s", "Size mismatch for field '%s', expecting: %d actual: %d"; a text field longer than its
    // column is shortened.
    virtual void CheckFieldCompatibility(TField& field, const TFieldDef& def);

    // --- Services for concrete datasets
    void SetState(TDataSetState state);
    // Changes the state without any event, controls disabled meanwhile; RestoreState undoes it.
    TDataSetState SetTempState(TDataSetState state);
    void RestoreState(TDataSetState previous);
    void CheckActive() const;
    void CheckInactive() const;
    [[noreturn]] void DatabaseError(const std::string& message) const;
    // "Field '%s' must have a value" for a required, writable data field that is null.
    void CheckRequiredFields() const;
    // Re-reads the rows around the cursor's row, then [dataset change].
    void Resync(TResyncMode mode = rmKeepPosition);
    // The cursor moved by itself; the next read positions it again.
    void CursorPosChanged() { currentRecord_ = -1; }
    TRecordBuffer& ActiveBuffer() { return buffers_.at(activeRecord_); }
    const TRecordBuffer& ActiveBuffer() const { return buffers_.at(activeRecord_); }
    // The buffer that field values come from in the current state; null when there is no row.
    TRecordBuffer* ActiveRecordBuffer() const;
    // The buffer fields read while the state is dsFilter (a concrete dataset evaluating a filter).
    void SetFilterBuffer(TRecordBuffer* buffer) { filterBuffer_ = buffer; }
    void SetModified(bool modified) { modified_ = modified; }
    bool DefaultFields() const { return defaultFields_; }
    // Closes without the before/after events; for destructors of concrete datasets.
    void CloseForDestruction();

  private:
    friend class TDataSource;
    friend class TField;

    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    void AddField(TField* field);
    void RemoveField(TField* field);
    static const TVariant& ValueIn(const TRecordBuffer* buffer, const TField& field);

    // Opening and closing
    void OpenCursor();
    void CloseCursor();
    void CreateDefaultFields();
    void BindFields();
    void DestroyDefaultFields();
    void FillWindowFromStart();

    // The buffer window
    void SetBufferCount(int count);
    void KeepLinkWindowsInRange();
    void ShrinkWindow(int count);
    void ClearBuffers();
    void ActivateBuffers();
    void PrepareBuffer(TRecordBuffer& buffer) const;
    bool FetchInto(TRecordBuffer& buffer, TGetMode mode);
    void SetCurrentRecord(int index);
    void UpdateCursorPos();
    bool GetNextRecord();
    bool GetPriorRecord();
    int GetNextRecords();
    int GetPriorRecords();
    void MoveBuffer(int from, int to);
    int MoveForward(int distance, int& windowShift);
    int MoveBackward(int distance, int& windowShift);
    void CalculateFields(TRecordBuffer& buffer);
    bool HasCalcFields() const { return calcFieldCount_ > 0; }

    // Editing
    void BeginInsertAppend();
    void EndInsertAppend();
    void RunGuarded(const std::function<void()>& operation, const TErrorEvent& onError);
    void CheckUniDirectional() const;
    static void Notify(const TNotifyEvent& event, TDataSet* dataSet);

    // Events
    void DoDataSetWork(TDataEvent& event, std::intptr_t& info);
    void NotifyDataSources(TDataEvent event, std::intptr_t info);

    TDataSetState state_ = dsInactive;
    TDataSetState stateBeforeDisable_ = dsInactive;
    TDataEvent enableEvent_ = deDataSetChange;
    int disableCount_ = 0;
    bool modified_ = false;
    bool bof_ = true;
    bool eof_ = true;
    bool defaultFields_ = false;

    std::vector<TRecordBuffer> buffers_;  // bufferCount_ + 1: the last one takes the row being read
    int bufferCount_ = 0;
    int recordCount_ = 0;
    int activeRecord_ = 0;
    int currentRecord_ = -1;  // the buffer the cursor stands on
    int recordSize_ = 0;
    int calcFieldCount_ = 0;
    TRecordBuffer calcBuffer_;
    TRecordBuffer* calcTarget_ = nullptr;
    TRecordBuffer* filterBuffer_ = nullptr;

    TFieldDefs fieldDefs_;
    std::vector<TField*> fields_;
    std::vector<TDataSource*> dataSources_;
};

}  // namespace contado
