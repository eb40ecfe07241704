#pragma once

#include <map>
#include <span>
#include <vector>

#include "platform/dsengine/dsfilter.h"
#include "platform/dsengine/idscursor.h"

namespace contado {

class TDSBase;

// A cursor over an engine table. It keeps the index of its visible rows and rebuilds it only when
// its filters change or another cursor changed the table; its own changes and appended packets
// update the index in place. The table must outlive its cursors.
class TDSCursor : public IDSCursor {
  public:
    explicit TDSCursor(TDSBase& base) : base_(base) {}

    int MoveToBOF() override;
    int MoveToEOF() override;
    int MoveRelative(int distance) override;
    int GetCurrentRecord(TDSRecord& record) override;

    int GetRecordCount(int& count) override;
    int GetSequenceNumber(int& sequence) override;
    int MoveToSeqNo(int sequence) override;

    int GetCurrentBookmark(TDSBookmark& bookmark) override;
    int MoveToBookmark(TDSBookmark bookmark) override;
    int CompareBookmarks(TDSBookmark a, TDSBookmark b, int& order) override;

    int InitRecord(TDSRecord& record) override;
    int GetField(const TDSRecord& record, int column, TVariant& value) override;
    int PutField(TDSRecord& record, int column, const TVariant& value) override;

    int InsertRecord(const TDSRecord& record) override;
    int ModifyRecord(const TDSRecord& record) override;
    int DeleteRecord() override;
    int RevertRecord() override;

    int AddFilter(const TDSExpression& expression, TDSFilterHandle& handle) override;
    int DropFilter(TDSFilterHandle handle) override;
    int LocateWithFilter(const TDSExpression& expression) override;

  private:
    int Count() const { return static_cast<int>(visible_.size()); }
    bool OnRow() const { return position_ >= 0 && position_ < Count(); }
    bool Passes(int row) const;
    // Brings the visible index up to date with the table.
    void Sync();
    void Rebuild();
    void AppendVisible(int firstOrderIndex);
    int SelectVisible(std::span<const int> rows, bool liveOnly, int mark);
    void IndexChanged();
    int VisibleIndexOf(int row);
    int InsertOrderIndex() const;
    int CheckWritable(const TDSRecord& record) const;

    TDSBase& base_;
    std::map<TDSFilterHandle, TDSFilter> filters_;
    TDSFilterHandle nextHandle_ = 1;
    std::vector<int> visible_;
    // The rows that passed the filters before the last, while several filter the rows.
    std::vector<int> passed_;
    bool built_ = false;
    std::uint64_t builtVersion_ = 0;
    // Row id -> visible index, built on demand for bookmarks.
    std::vector<int> indexOfRow_;
    bool indexOfRowValid_ = false;
    // -1 before the first row, Count() after the last.
    int position_ = -1;
};

}  // namespace contado
