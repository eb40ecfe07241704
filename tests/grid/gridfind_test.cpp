#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "data/dataset/dataset.h"
#include "platform/system/busycursor.h"
#include "tests/grid/searchfixture.h"

// The grid's cell-text search called as the find dialog calls it: the three directions with their
// start and wrap rules, the three kinds of matching with empty texts, the record and screen row a
// miss brings back, an unknown field, and a pending Esc.

namespace contado {
namespace {

class GridFind : public GridSearchTest {
  protected:
    bool Find(const std::string& field, const char* text, TGridSearchOptions options,
              TGridSearchDirection direction, TGridSearchMatching matching = gsmAnyPart) {
        return grid_->SearchCellText(field, QString::fromUtf8(text), options, direction, matching);
    }
    std::string Field4() const { return Text("AJCI_PREFNO"); }
};

TEST_F(GridFind, SmallLettersFindCapitalsAndMoveRecordAndColumn) {
    OpenMixed();
    EXPECT_TRUE(Find("", "ñan", {gsoCaseInsensitive, gsoAllColumns, gsoDisplayText}, gsdAll));
    EXPECT_EQ(RecNo(), 3);
    EXPECT_EQ(grid_->CurrentColumn(), 4);
    EXPECT_TRUE(Find("ajci_prefno", "éca", {gsoCaseInsensitive}, gsdAll)) << "field names ignore case too";
    EXPECT_EQ(RecNo(), 5);
    EXPECT_FALSE(Find("AJCI_PREFNO", "éca", {}, gsdAll)) << "an exact search keeps the case";
    EXPECT_EQ(RecNo(), 5);
    EXPECT_EQ(TBusyCursor::Depth(), 0);
}

TEST_F(GridFind, AllStartsAtTheTopDownGoesOnAndStopsAfterTheLastHit) {
    OpenMixed();
    CAjusteAu->Last();
    EXPECT_TRUE(Find("AJCI_PREFNO", "fv", {gsoCaseInsensitive}, gsdAll));
    EXPECT_EQ(RecNo(), 1);
    EXPECT_TRUE(Find("AJCI_PREFNO", "fv", {gsoCaseInsensitive}, gsdDown));
    EXPECT_EQ(RecNo(), 4);
    EXPECT_TRUE(Find("AJCI_PREFNO", "fv", {gsoCaseInsensitive}, gsdDown));
    EXPECT_EQ(RecNo(), 6);
    EXPECT_FALSE(Find("AJCI_PREFNO", "fv", {gsoCaseInsensitive}, gsdDown));
    EXPECT_EQ(RecNo(), 6) << "after the last hit the grid stays";
    EXPECT_TRUE(Find("AJCI_PREFNO", "fv", {gsoCaseInsensitive}, gsdUp));
    EXPECT_EQ(RecNo(), 4) << "the current cell itself is not examined";
}

TEST_F(GridFind, AllColumnsWalkTheCellsOfARecordAndUpWrapsToThePriorRecordsLastColumn) {
    OpenMixed();
    EXPECT_TRUE(Find("", "10", {gsoAllColumns, gsoDisplayText}, gsdAll));
    EXPECT_EQ(RecNo(), 2) << "10/01/2024 in F.Desde of record 2 comes before Porc 10 of record 3";
    EXPECT_EQ(grid_->CurrentColumn(), 0);
    EXPECT_TRUE(Find("", "10", {gsoAllColumns, gsoDisplayText}, gsdDown));
    EXPECT_EQ(RecNo(), 3);
    EXPECT_EQ(grid_->CurrentColumn(), 2) << "the next cell after the hit, across the columns";
    grid_->SetCurrentColumn(0);
    EXPECT_TRUE(Find("", "ÑAN", {gsoAllColumns, gsoDisplayText}, gsdDown)) << "same record, later column";
    EXPECT_EQ(grid_->CurrentColumn(), 4);
    CAjusteAu->Next();
    grid_->SetCurrentColumn(0);
    EXPECT_TRUE(Find("", "ÑAN", {gsoAllColumns}, gsdUp));
    EXPECT_EQ(RecNo(), 3);
    EXPECT_EQ(grid_->CurrentColumn(), 4) << "from the first column Up goes on with the prior record's last";
}

TEST_F(GridFind, TheThreeMatchingKindsWithEmptyTextsAndNullCells) {
    OpenMixed();
    EXPECT_TRUE(Find("AJCI_PREFNO", "", {}, gsdAll, gsmFromBeginning));
    EXPECT_EQ(RecNo(), 1) << "an empty beginning matches the first cell examined";
    EXPECT_FALSE(Find("AJCI_PREFNO", "", {}, gsdAll, gsmAnyPart)) << "an empty text never matches any part";
    EXPECT_TRUE(Find("AJCI_PREFNO", "", {}, gsdDown, gsmWholeField));
    EXPECT_EQ(RecNo(), 2) << "the next empty (null) cell";
    EXPECT_TRUE(Find("AJCI_PORC", "0,5", {gsoDisplayText}, gsdAll, gsmWholeField));
    EXPECT_EQ(RecNo(), 4) << "whole field: 0,25 does not count";
    EXPECT_TRUE(Find("AJCI_PREFNO", "CA", {}, gsdAll, gsmAnyPart));
    EXPECT_EQ(RecNo(), 5);
    EXPECT_FALSE(Find("AJCI_PREFNO", "CA", {}, gsdAll, gsmFromBeginning));
}

TEST_F(GridFind, AMissBringsBackTheRecordAndItsScreenRow) {
    FillPlanned(40);
    ConfigurePlannedColumns();
    OpenTable();
    ShowFocused();
    CAjusteAu->MoveBy(25);
    CAjusteAu->MoveBy(-3);
    const int record = RecNo();
    const int row = grid_->CurrentRow();
    ASSERT_GT(row, 0);
    ASSERT_LT(row, grid_->Geometry().VisibleRowCount() - 1);
    EXPECT_FALSE(Find("", "nowhere", {gsoCaseInsensitive, gsoAllColumns}, gsdAll));
    EXPECT_EQ(RecNo(), record);
    EXPECT_EQ(grid_->CurrentRow(), row) << "the same rows around it";
    EXPECT_FALSE(Find("", "nowhere", {}, gsdUp));
    EXPECT_EQ(RecNo(), record);
    EXPECT_EQ(grid_->CurrentRow(), row);
}

TEST_F(GridFind, AnUnknownFieldRaisesTheGridsErrorAndRestoresTheCursor) {
    OpenMixed();
    try {
        Find("NO_SUCH", "x", {}, gsdAll);
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "El nombre de campo 'NO_SUCH' no se encuentra");
    }
    EXPECT_EQ(TBusyCursor::Depth(), 0);
    grid_->Columns().Items(4)->SetVisible(false);
    EXPECT_FALSE(Find("AJCI_PREFNO", "FVA", {}, gsdAll)) << "a hidden column is not searched";
}

TEST_F(GridFind, APendingEscStopsTheSearchOnlyWhenAsked) {
    FillPlanned(200);
    ConfigurePlannedColumns();
    OpenTable();
    ShowFocused();
    QueueEscape();
    EXPECT_FALSE(Find("AJCI_PORC", "200", {gsoStopOnEscape, gsoDisplayText}, gsdAll, gsmWholeField));
    EXPECT_EQ(RecNo(), 1);
    EXPECT_TRUE(Find("AJCI_PORC", "200", {gsoDisplayText}, gsdAll, gsmWholeField))
        << "without the option the waiting Esc does not matter";
    EXPECT_EQ(RecNo(), 200);
}

TEST_F(GridFind, AClosedOrEmptyTableAnswersFalse) {
    ConfigurePlannedColumns();
    EXPECT_FALSE(Find("", "x", {}, gsdAll));
    OpenTable();
    ShowFocused();
    EXPECT_FALSE(Find("", "", {}, gsdAll, gsmFromBeginning));
    EXPECT_FALSE(Find("", std::string(100000, 'x').c_str(), {gsoCaseInsensitive}, gsdUp));
}

}  // namespace
}  // namespace contado
