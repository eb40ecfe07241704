#pragma once

#include <vector>

#include "data/dataset/dataset.h"

namespace contado {

// A small editable dataset over rows kept in memory, for tests of the dataset machinery, the data
// sources and the links. Bookmarks are the rows' identities.
class TMemoryDataSet : public TDataSet {
  public:
    using TRow = std::vector<TVariant>;

    explicit TMemoryDataSet(TComponent* owner = nullptr) : TDataSet(owner) {}
    ~TMemoryDataSet() override { CloseForDestruction(); }

    void AddColumn(const TFieldDef& def) { columns_.Add(def); }
    void AddRow(TRow values) { rows_.push_back({nextId_++, std::move(values)}); }
    std::vector<TRow> Rows() const;

    bool CanModify() const override { return true; }
    int RecordCount() const override { return static_cast<int>(rows_.size()); }
    bool IsSequenced() const override { return true; }

  protected:
    void InternalOpen() override;
    void InternalClose() override { open_ = false; }
    bool IsCursorOpen() const override { return open_; }
    void InternalFirst() override { cursor_ = -1; }
    void InternalLast() override { cursor_ = static_cast<int>(rows_.size()); }
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) override;
    void InternalSetToRecord(const TRecordBuffer& buffer) override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalGotoBookmark(const TBookmark& bookmark) override { cursor_ = IndexOf(bookmark); }

  private:
    struct TStoredRow {
        int id;
        TRow values;
    };

    static TBookmark BookmarkOf(int id);
    int IndexOf(const TBookmark& bookmark) const;
    void Fill(TRecordBuffer& buffer) const;

    TFieldDefs columns_;
    std::vector<TStoredRow> rows_;
    int nextId_ = 1;
    int cursor_ = -1;
    bool open_ = false;
};

}  // namespace contado
