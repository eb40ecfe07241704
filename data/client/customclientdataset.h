#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/enumset.h"
#include "data/client/filterparser.h"
#include "data/dataset/dataset.h"
#include "data/provider/providertypes.h"
#include "platform/dsengine/idsbase.h"

namespace contado {

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };
using TFilterOptions = TEnumSet<TFilterOption>;

// A dataset over a client dataset engine table: the engine holds the rows, their change log and the
// filter; this class moves through the engine's visible rows, edits them, filters and locates.
// Where the packets come from is left to derived classes (TClientDataSet asks its provider).
class TCustomClientDataSet : public TDataSet {
  public:
    explicit TCustomClientDataSet(TComponent* owner = nullptr);
    ~TCustomClientDataSet() override;

    // --- Filter
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);
    TFilterOptions FilterOptions() const { return filterOptions_; }
    void SetFilterOptions(TFilterOptions options);

    // --- Positions
    int RecNo() const override;
    void SetRecNo(int recNo) override;
    int RecordCount() const override;
    bool IsSequenced() const override { return true; }
    bool CanModify() const override;
    bool Locate(const std::string& keyFields, const std::vector<TVariant>& keyValues,
                TLocateOptions options) override;
    bool BookmarkValid(const TBookmark& bookmark) const override;
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const override;

    // --- Editing
    void Insert() override;
    void Append() override;
    // Changes waiting in the change log.
    int ChangeCount() const;

  protected:
    // The first packet (with its columns) and whether it holds every row. Rows may go to parts while
    // the packet is written; the packet answered then holds the rows after the last part.
    virtual TDataPacket FirstPacket(bool& allRowsArrived, const TPacketPartSink& parts) = 0;
    // Appends rows not yet received: every one, or the next packet when fetching on demand.
    // Answers the number of rows received.
    virtual int FetchMore(bool all) = 0;
    // Told when the table closes, before the engine table is discarded; must not throw.
    virtual void CloseSource() {}

    // Appends a packet of further rows to the engine table.
    void AppendPacket(const TDataPacket& packet, bool allRowsArrived);
    bool AllRowsArrived() const { return base_ == nullptr || base_->AllRowsArrived(); }
    // Asks for every row not yet received.
    void FetchAll();
    // Raises EDBClient with the engine's text when a status is not success.
    void Check(int status) const;
    IDSBase& Engine() const { return *base_; }
    // Puts the engine cursor back on the active row, when it still exists, and re-reads the window.
    void Refresh();
    // A dataset-level attribute of the first packet is true.
    bool PacketOption(const char* name) const;

    // --- TDataSet hooks
    void InternalOpen() override;
    void InternalClose() override;
    bool IsCursorOpen() const override { return cursor_ != nullptr; }
    void InternalFirst() override;
    void InternalLast() override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) override;
    void InternalSetToRecord(const TRecordBuffer& buffer) override;
    void InternalInitRecord(TRecordBuffer& buffer) override;
    void InternalEdit() override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalGotoBookmark(const TBookmark& bookmark) override;

  private:
    void DefineFieldsFromColumns();
    bool MoveNextFetching();
    void FillBuffer(TRecordBuffer& buffer);
    TDSRecord RecordOf(const TRecordBuffer& buffer) const;
    static TBookmark ToBookmark(TDSBookmark mark);
    static TDSBookmark FromBookmark(const TBookmark& bookmark);
    void CheckInsertAllowed() const;

    // Filter and locate (customclientdatasetsearch.cpp)
    TFilterParser Parser(TFilterParseOptions options) const;
    TFilterParseOptions ParseOptions() const;
    void ActivateFilter(const std::string& text, TFilterParseOptions options);
    void DropFilter();
    void ApplyFilterChange(const std::string& filter, bool filtered, TFilterOptions options);
    std::string LocateFilterText(const std::vector<std::string>& names, const std::vector<TVariant>& values,
                                 bool partialKey) const;
    std::string LocateCondition(const TField& field, const TVariant& value, bool partialKey) const;

    std::unique_ptr<IDSBase> base_;
    std::unique_ptr<IDSCursor> cursor_;
    TDSFilterHandle filterHandle_ = 0;
    TDSRecord scratch_;

    std::string filter_;
    bool filtered_ = false;
    TFilterOptions filterOptions_;
};

}  // namespace contado
