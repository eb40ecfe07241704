#include "platform/dsengine/dsrowstore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace contado {
namespace {

// A store of one row with a short and a long text column.
class RowStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store.Reset({TPacketColumn::Make("ID", ftInteger), TPacketColumn::Make("SHORT", ftString, 4),
                     TPacketColumn::Make("LONG", ftString, 500)});
        store.AppendOriginalRows(
            {TPacketRow{TUpdateStatus::Unmodified, {std::int64_t{1}, std::string("ab"), before}}});
    }

    std::vector<TVariant> Values() const {
        std::vector<TVariant> values(store.ColumnCount());
        store.ReadValues(0, values.data());
        return values;
    }
    std::vector<TVariant> Original() const {
        std::vector<TVariant> values(store.ColumnCount());
        store.ReadOriginalValues(0, values.data());
        return values;
    }

    TDSRowStore store;
    const std::string before = std::string(300, 'o');
    const std::string after = std::string(400, 'n');
};

TEST_F(RowStoreTest, ModifiedLongTextKeepsItsBeforeImage) {
    ASSERT_TRUE(store.ModifyRow(0, {TVariant(), TNull{}, after}));
    EXPECT_EQ(Values(), (std::vector<TVariant>{std::int64_t{1}, TNull{}, after}));
    EXPECT_EQ(Original(), (std::vector<TVariant>{std::int64_t{1}, std::string("ab"), before}));
    store.UndoChange(0);
    EXPECT_EQ(Values(), (std::vector<TVariant>{std::int64_t{1}, std::string("ab"), before}));
    EXPECT_TRUE(store.ChangeLog().empty());
}

TEST_F(RowStoreTest, AcceptedChangeBecomesTheOriginal) {
    ASSERT_TRUE(store.ModifyRow(0, {TVariant(), TVariant(), after}));
    EXPECT_FALSE(store.ModifyRow(0, {TVariant(), TVariant(), after}));
    store.AcceptAll();
    EXPECT_EQ(Original(), (std::vector<TVariant>{std::int64_t{1}, std::string("ab"), after}));
    ASSERT_TRUE(store.ModifyRow(0, {TVariant(), TVariant(), before}));
    EXPECT_EQ(Original()[2], TVariant(after));
    EXPECT_EQ(store.Value(0, 2), TVariant(before));
}

TEST_F(RowStoreTest, InsertedRowsStartUnassigned) {
    const int row = store.InsertRow({std::int64_t{2}}, 0);
    EXPECT_EQ(store.Value(row, 0), TVariant(std::int64_t{2}));
    EXPECT_TRUE(VarIsUnassigned(store.Value(row, 1)));
    EXPECT_TRUE(VarIsUnassigned(store.Value(row, 2)));
    EXPECT_EQ(store.Order(), (std::vector<int>{row, 0}));
}

TEST_F(RowStoreTest, AppendsOneAfterAnotherAreOneRunUntilAnotherChange) {
    const std::uint64_t afterFirst = store.Version();
    for (std::int64_t id = 2; id <= 4; ++id) {
        store.AppendOriginalRows({TPacketRow{TUpdateStatus::Unmodified, {id, std::string("r"), TNull{}}}});
    }
    int first = -1;
    ASSERT_TRUE(store.LastChangeWasAppend(0, first));
    EXPECT_EQ(first, 0);
    EXPECT_FALSE(store.LastChangeWasAppend(afterFirst, first)) << "a version inside the run";
    store.DeleteRow(3);
    EXPECT_FALSE(store.LastChangeWasAppend(0, first));
    const std::uint64_t afterDelete = store.Version();
    store.AppendOriginalRows({TPacketRow{TUpdateStatus::Unmodified, {std::int64_t{5}, TNull{}, TNull{}}}});
    store.AppendOriginalRows({TPacketRow{TUpdateStatus::Unmodified, {std::int64_t{6}, TNull{}, TNull{}}}});
    ASSERT_TRUE(store.LastChangeWasAppend(afterDelete, first));
    EXPECT_EQ(first, 4);
}

TEST_F(RowStoreTest, RowsOfAnAppendLargerThanABlockKeepTheirValues) {
    std::vector<TPacketRow> rows;
    for (std::int64_t id = 2; id <= 10000; ++id) {
        rows.push_back(TPacketRow{TUpdateStatus::Unmodified, {id, std::to_string(id % 1000), TNull{}}});
    }
    store.AppendOriginalRows(rows);
    store.InsertRow({std::int64_t{10001}}, 0);
    ASSERT_EQ(store.SlotCount(), 10001);
    for (int row = 0; row < 10000; ++row) {
        ASSERT_EQ(store.Value(row, 0), TVariant(std::int64_t{row + 1})) << row;
    }
    EXPECT_EQ(store.Value(9999, 1), TVariant(std::string("0")));
    EXPECT_TRUE(VarIsNull(store.Value(9999, 2)));
    EXPECT_EQ(store.Value(10000, 0), TVariant(std::int64_t{10001}));
    EXPECT_TRUE(VarIsUnassigned(store.Value(10000, 1)));
}

}  // namespace
}  // namespace contado
