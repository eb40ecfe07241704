#include <gtest/gtest.h>

#include "data/dataset/datasource.h"
#include "data/fields/field.h"
#include "tests/data/dataset/memorydataset.h"
#include "tests/data/dataset/recordinglink.h"

namespace contado {
namespace {

using Log = std::vector<std::string>;

class DataLinks : public testing::Test {
  protected:
    DataLinks() {
        dataSet.SetName("CAjuste");
        source.SetName("DAjuste");
        dataSet.AddColumn(TFieldDef("ID", ftInteger));
        dataSet.AddColumn(TFieldDef("NAME", ftString, 10));
        for (int i = 1; i <= 10; ++i) {
            dataSet.AddRow({std::int64_t{i}, TNull{}});
        }
        source.SetDataSet(&dataSet);
    }

    int CurrentId() { return dataSet.FieldByName("ID").AsInteger(); }

    // The log outlives the dataset and source, whose teardown may still report events.
    Log log;
    TComponent form;
    TMemoryDataSet dataSet{&form};
    TDataSource source{&form};
};

TEST_F(DataLinks, NonVisualLinksFirstThenVisualOnesEachFromTheLastAttached) {
    TRecordingLink a(log, "a"), b(log, "b", true), c(log, "c"), d(log, "d", true);
    for (TDataLink* link : {static_cast<TDataLink*>(&a), static_cast<TDataLink*>(&b),
                            static_cast<TDataLink*>(&c), static_cast<TDataLink*>(&d)}) {
        link->SetDataSource(&source);
    }
    dataSet.Open();
    EXPECT_EQ(log, (Log{"c:UpdateState", "a:UpdateState", "d:UpdateState", "b:UpdateState"}));
}

TEST_F(DataLinks, SourceCallsItsEventsAfterTheLinks) {
    TRecordingLink link(log, "link");
    link.SetDataSource(&source);
    source.OnStateChange = [this](TDataSource*) { log.push_back("OnStateChange"); };
    source.OnDataChange = [this](TDataSource*, TField* field) {
        log.push_back(field == nullptr ? "OnDataChange" : "OnDataChange:" + field->FieldName());
    };
    source.OnUpdateData = [this](TDataSource*) { log.push_back("OnUpdateData"); };
    dataSet.Open();
    dataSet.Edit();
    dataSet.FieldByName("NAME").SetAsString("x");
    dataSet.Post();
    EXPECT_EQ(log, (Log{"link:UpdateState", "OnStateChange", "OnDataChange", "link:CheckBrowseMode",
                        "link:UpdateState", "OnStateChange", "link:RecordChange", "OnDataChange",
                        "link:FieldChange", "OnDataChange:NAME", "link:UpdateRecord", "OnUpdateData",
                        "link:CheckBrowseMode", "link:UpdateState", "OnStateChange", "link:DataSetChange",
                        "OnDataChange"}));
}

TEST_F(DataLinks, WindowFollowsTheActiveRowWithTheShiftItMoved) {
    TRecordingLink grid(log, "grid", true);
    grid.SetBufferCount(3);
    TRecordingLink navigator(log, "nav", true);
    grid.SetDataSource(&source);
    navigator.SetDataSource(&source);
    dataSet.Open();
    EXPECT_EQ(dataSet.BufferCount(), 3);
    EXPECT_EQ(grid.RecordCount(), 3);
    EXPECT_EQ(navigator.RecordCount(), 1);

    dataSet.Next();
    dataSet.Next();
    EXPECT_EQ(grid.ActiveRecord(), 2);
    EXPECT_EQ(grid.Scrolls, (std::vector<int>{0, 0}));
    EXPECT_EQ(navigator.Scrolls, (std::vector<int>{1, 1}));

    dataSet.Next();  // the window is full: the dataset drops its first buffer
    EXPECT_EQ(grid.Scrolls.back(), 1);
    EXPECT_EQ(grid.FirstRecord(), 0);
    EXPECT_EQ(grid.ActiveRecord(), 2);
    EXPECT_EQ(CurrentId(), 4);

    dataSet.MoveBy(-3);  // two rows up inside the window, then one read before it
    EXPECT_EQ(grid.Scrolls.back(), -1);
    EXPECT_EQ(grid.ActiveRecord(), 0);
    EXPECT_EQ(navigator.ActiveRecord(), 0);
    EXPECT_EQ(CurrentId(), 1);
    EXPECT_EQ(dataSet.MoveBy(-1), 0);
    EXPECT_TRUE(dataSet.Bof());

    grid.SetActiveRecord(2);
    EXPECT_EQ(CurrentId(), 3) << "a link reads the rows of its window by making them active";
    grid.SetActiveRecord(0);
}

TEST_F(DataLinks, BufferCountIsTheLargestOfAllLinks) {
    TDataSource other(&form);
    other.SetDataSet(&dataSet);
    TRecordingLink small(log, "small"), large(log, "large");
    small.SetBufferCount(2);
    large.SetBufferCount(5);
    small.SetDataSource(&source);
    large.SetDataSource(&other);
    dataSet.Open();
    EXPECT_EQ(dataSet.BufferCount(), 5);
    EXPECT_EQ(dataSet.BufferedRecordCount(), 5);
    dataSet.MoveBy(4);
    large.SetDataSource(nullptr);
    EXPECT_EQ(dataSet.BufferCount(), 2);
    EXPECT_EQ(CurrentId(), 5) << "shrinking keeps the active row";
    EXPECT_EQ(small.ActiveRecord(), 1);
    small.SetDataSource(nullptr);
    EXPECT_EQ(dataSet.BufferCount(), 1);
}

TEST_F(DataLinks, InactiveLinkHearsOnlyOfStateChanges) {
    TRecordingLink link(log, "link");
    link.SetDataSource(&source);
    EXPECT_FALSE(link.Active());
    dataSet.DataEvent(deLayoutChange);
    dataSet.DataEvent(deDataSetChange);
    EXPECT_TRUE(log.empty());
    dataSet.Open();
    EXPECT_EQ(log, (Log{"link:UpdateState"}));
    EXPECT_TRUE(link.Active());

    log.clear();
    source.SetEnabled(false);
    EXPECT_EQ(source.State(), dsInactive);
    dataSet.Next();
    EXPECT_EQ(log, (Log{"link:UpdateState"}));
}

TEST_F(DataLinks, UpdatingLinkIgnoresTheFieldChangeOfItsOwnWrite) {
    dataSet.Open();
    TRecordingLink writer(log, "writer", true);
    TRecordingLink other(log, "other", true);
    writer.SetDataSource(&source);
    other.SetDataSource(&source);
    writer.FieldToWrite = &dataSet.FieldByName("NAME");
    dataSet.Edit();
    const int writerBefore = writer.RecordChanges;
    const int otherBefore = other.RecordChanges;
    dataSet.Post();
    EXPECT_EQ(writer.RecordChanges, writerBefore + 1) << "only the dataset change after the post";
    EXPECT_EQ(other.RecordChanges, otherBefore + 2) << "the field change and the dataset change";
    EXPECT_EQ(dataSet.FieldByName("NAME").AsString(), "written");
}

TEST_F(DataLinks, EditThroughTheLinkFollowsAutoEditAndReadOnly) {
    TRecordingLink link(log, "link");
    link.SetDataSource(&source);
    dataSet.Open();
    link.SetReadOnly(true);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(dataSet.State(), dsBrowse);
    link.SetReadOnly(false);
    source.SetAutoEdit(false);
    EXPECT_FALSE(link.Edit());
    source.SetAutoEdit(true);
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(dataSet.State(), dsEdit);
}

// A dataset whose master source can be set, to build a chain of sources.
class TDetailDataSet : public TMemoryDataSet {
  public:
    using TMemoryDataSet::TMemoryDataSet;
    TDataSource* MasterSource() const override { return master; }
    TDataSource* master = nullptr;
};

TEST_F(DataLinks, CircularLinksAndFixedSourcesAreRefused) {
    TDetailDataSet detail(&form);
    detail.master = &source;
    try {
        source.SetDataSet(&detail);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "DAjuste: Circular datalinks are not allowed");
    }
    EXPECT_EQ(source.DataSet(), &dataSet);

    TRecordingLink link(log, "link");
    link.SetDataSource(&source);
    link.SetDataSourceFixed(true);
    try {
        link.SetDataSource(nullptr);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "DAjuste: DataSource cannot be changed");
    }
}

TEST_F(DataLinks, DestroyingTheSourceOrTheDataSetLeavesLinksInactive) {
    auto* owned = new TDataSource(&form);
    TRecordingLink link(log, "link");
    owned->SetDataSet(&dataSet);
    link.SetDataSource(owned);
    dataSet.Open();
    EXPECT_TRUE(link.Active());
    delete owned;
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.DataSource(), nullptr);

    auto* transient = new TMemoryDataSet(&form);
    transient->AddColumn(TFieldDef("ID", ftInteger));
    TDataSource second(&form);
    second.SetDataSet(transient);
    link.SetDataSource(&second);
    transient->Open();
    EXPECT_TRUE(link.Active());
    delete transient;
    EXPECT_EQ(second.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
}

}  // namespace
}  // namespace contado
