#include <gtest/gtest.h>

#include "data/dataset/datasource.h"
#include "data/fields/field.h"
#include "tests/data/dataset/memorydataset.h"
#include "tests/data/dataset/recordinglink.h"

namespace contado {
namespace {

using Log = std::vector<std::string>;

// A dataset of five rows (ID, NAME) behind a data source with one recording link.
class DataSetEvents : public testing::Test {
  protected:
    DataSetEvents() {
        dataSet.SetName("CAjuste");
        source.SetName("DAjuste");
        dataSet.AddColumn(TFieldDef("ID", ftInteger));
        dataSet.AddColumn(TFieldDef("NAME", ftString, 10));
        for (int i = 1; i <= 5; ++i) {
            dataSet.AddRow({std::int64_t{i}, std::string("row ") + std::to_string(i)});
        }
        source.SetDataSet(&dataSet);
        link.SetDataSource(&source);
        RecordDataSetEvents(dataSet, log);
    }

    Log Take() {
        Log taken;
        taken.swap(log);
        return taken;
    }

    void OpenQuietly() {
        dataSet.Open();
        log.clear();
    }

    // The log outlives the dataset, whose teardown still runs its close events.
    Log log;
    TComponent form;
    TMemoryDataSet dataSet{&form};
    TDataSource source{&form};
    TRecordingLink link{log, ""};
};

TEST_F(DataSetEvents, OpenAndCloseChangeTheStateBetweenTheirEvents) {
    dataSet.Open();
    EXPECT_EQ(Take(), (Log{"BeforeOpen", "[UpdateState]", "AfterOpen"}));
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(dataSet.FieldByName("NAME").AsString(), "row 1");
    dataSet.Close();
    EXPECT_EQ(Take(), (Log{"BeforeClose", "[UpdateState]", "AfterClose"}));
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(dataSet.FieldCount(), 0) << "default fields go with the cursor";
}

TEST_F(DataSetEvents, MovesScrollOrChangeTheDataSetBetweenTheScrollEvents) {
    OpenQuietly();
    dataSet.Next();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetScroll]", "AfterScroll"}));
    dataSet.First();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetChange]", "AfterScroll"}));
    EXPECT_TRUE(dataSet.Bof());
    dataSet.Last();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetChange]", "AfterScroll"}));
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 5);
}

TEST_F(DataSetEvents, EditPostAndCancel) {
    OpenQuietly();
    dataSet.Edit();
    EXPECT_EQ(Take(),
              (Log{"[CheckBrowseMode]", "BeforeEdit", "[UpdateState]", "[RecordChange]", "AfterEdit"}));
    dataSet.FieldByName("NAME").SetAsString("changed");
    EXPECT_EQ(Take(), (Log{"[FieldChange]"}));
    EXPECT_TRUE(dataSet.Modified());
    dataSet.Post();
    EXPECT_EQ(Take(), (Log{"[UpdateRecord]", "[CheckBrowseMode]", "BeforePost", "[UpdateState]",
                           "[DataSetChange]", "AfterPost"}));
    EXPECT_EQ(std::get<std::string>(dataSet.Rows()[0][1]), "changed");

    dataSet.Edit();
    dataSet.FieldByName("NAME").SetAsString("dropped");
    log.clear();
    dataSet.Cancel();
    EXPECT_EQ(Take(),
              (Log{"[CheckBrowseMode]", "BeforeCancel", "[UpdateState]", "[DataSetChange]", "AfterCancel"}));
    EXPECT_EQ(dataSet.FieldByName("NAME").AsString(), "changed");
}

TEST_F(DataSetEvents, InsertAndItsCancellationScroll) {
    OpenQuietly();
    dataSet.Next();
    log.clear();
    dataSet.Insert();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeInsert", "BeforeScroll", "[UpdateState]",
                           "OnNewRecord", "[DataSetChange]", "AfterInsert", "AfterScroll"}));
    EXPECT_TRUE(dataSet.FieldByName("ID").IsNull());
    dataSet.Cancel();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeCancel", "BeforeScroll", "[UpdateState]",
                           "[DataSetChange]", "AfterCancel", "AfterScroll"}));
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 2) << "back on the row the insert stood on";
}

TEST_F(DataSetEvents, DeleteReReadsTheRowsAround) {
    OpenQuietly();
    dataSet.Next();
    log.clear();
    dataSet.Delete();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeDelete", "BeforeScroll", "[DataSetChange]",
                           "AfterDelete", "AfterScroll"}));
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(dataSet.Rows().size(), 4u);
}

TEST_F(DataSetEvents, CheckBrowseModeDropsAnUntouchedInsertAndPostsATouchedOne) {
    OpenQuietly();
    dataSet.Insert();
    dataSet.Next();
    EXPECT_EQ(dataSet.State(), dsBrowse);
    EXPECT_EQ(dataSet.Rows().size(), 5u) << "an insert nothing modified is cancelled";

    dataSet.Insert();
    dataSet.FieldByName("ID").SetAsInteger(9);
    log.clear();
    dataSet.CheckBrowseMode();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "[UpdateRecord]", "[UpdateRecord]", "[CheckBrowseMode]",
                           "BeforePost", "[UpdateState]", "[DataSetChange]", "AfterPost"}));
    ASSERT_EQ(dataSet.Rows().size(), 6u);
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 9);
}

TEST_F(DataSetEvents, EditingAnEmptyDataSetInserts) {
    TMemoryDataSet empty(&form);
    empty.AddColumn(TFieldDef("ID", ftInteger));
    empty.Open();
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.Eof());
    empty.Edit();
    EXPECT_EQ(empty.State(), dsInsert);
    empty.Fields(0)->SetAsInteger(4);
    empty.Post();
    EXPECT_FALSE(empty.IsEmpty());
    EXPECT_THROW(empty.Fields(0)->SetAsInteger(5), EDatabaseError);
}

TEST_F(DataSetEvents, DisabledControlsGetOneDataSetChangeForSeveralMoves) {
    OpenQuietly();
    dataSet.DisableControls();
    dataSet.Next();
    dataSet.Next();
    dataSet.DisableControls();
    dataSet.Next();
    dataSet.EnableControls();
    EXPECT_EQ(Take(), (Log{"BeforeScroll", "AfterScroll", "BeforeScroll", "AfterScroll", "BeforeScroll",
                           "AfterScroll"}));
    dataSet.EnableControls();
    EXPECT_EQ(Take(), (Log{"[DataSetChange]"}));
    EXPECT_EQ(link.ActiveRecord(), 0);
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 4);
}

TEST_F(DataSetEvents, StateChangesWhileDisabledArriveAsDisabledStateChange) {
    OpenQuietly();
    dataSet.DisableControls();
    dataSet.Edit();
    EXPECT_EQ(Take(), (Log{"BeforeEdit", "[DisabledStateChange]", "AfterEdit"}));
    EXPECT_FALSE(link.Editing()) << "the source keeps its state while controls are disabled";
    dataSet.EnableControls();
    EXPECT_EQ(Take(), (Log{"[UpdateState]", "[LayoutChange]"}));
    EXPECT_TRUE(link.Editing());
}

TEST_F(DataSetEvents, ErrorEventDecidesAboutAFailedPost) {
    OpenQuietly();
    dataSet.Insert();
    TField& id = dataSet.FieldByName("ID");
    id.SetRequired(true);
    id.SetDisplayLabel("Id.");
    int calls = 0;
    TDataAction answer = daFail;
    dataSet.OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
        ++calls;
        EXPECT_EQ(error.Message(), "Field 'Id.' must have a value");
        action = answer;
    };
    EXPECT_THROW(dataSet.Post(), EDatabaseError);
    answer = daAbort;
    EXPECT_THROW(dataSet.Post(), EAbort);
    EXPECT_EQ(dataSet.State(), dsInsert);
    answer = daRetry;
    dataSet.OnPostError = [&](TDataSet*, EDatabaseError&, TDataAction& action) {
        ++calls;
        id.SetAsInteger(7);
        action = daRetry;
    };
    dataSet.Post();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(dataSet.State(), dsBrowse);
    EXPECT_EQ(id.AsInteger(), 7);
}

TEST_F(DataSetEvents, OperationsOnAClosedOrEmptyDataSetFail) {
    try {
        dataSet.Next();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "CAjuste: Cannot perform this operation on a closed dataset");
    }
    TMemoryDataSet empty(&form);
    empty.SetName("CVacio");
    empty.AddColumn(TFieldDef("ID", ftInteger));
    empty.Open();
    try {
        empty.Delete();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "CVacio: Cannot perform this operation on an empty dataset");
    }
}

TEST_F(DataSetEvents, BookmarksReturnToTheirRow) {
    OpenQuietly();
    dataSet.MoveBy(3);
    const TBookmark mark = dataSet.GetBookmark();
    dataSet.First();
    dataSet.GotoBookmark(mark);
    EXPECT_EQ(dataSet.FieldByName("ID").AsInteger(), 4);
    EXPECT_EQ(dataSet.CompareBookmarks(mark, TBookmark{}), -1);
    EXPECT_EQ(dataSet.CompareBookmarks(TBookmark{}, TBookmark{}), 0);
}

}  // namespace
}  // namespace contado
