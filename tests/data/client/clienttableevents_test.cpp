#include <gtest/gtest.h>

#include "data/dataset/datasource.h"
#include "tests/data/client/clienttablefixture.h"
#include "tests/data/dataset/recordinglink.h"

// What a control's link sees of every operation on a client table over its provider.

namespace contado {
namespace {

using Log = std::vector<std::string>;

class ClientTableEvents : public ClientTableTest {
  protected:
    ClientTableEvents() {
        SeedAdjustments();
        source_->SetDataSet(CAjuste);
        link_.SetDataSource(source_);
        RecordDataSetEvents(*CAjuste, log_);
    }
    ~ClientTableEvents() override { CAjuste->Close(); }

    Log Take() {
        Log taken;
        taken.swap(log_);
        return taken;
    }
    void OpenQuietly() {
        CAjuste->Open();
        log_.clear();
    }

    Log log_;
    TDataSource* source_ = new TDataSource(&form_);
    TRecordingLink link_{log_, ""};
};

TEST_F(ClientTableEvents, OpenCloseAndMoves) {
    CAjuste->Open();
    EXPECT_EQ(Take(), (Log{"BeforeOpen", "[UpdateState]", "AfterOpen"}));
    CAjuste->Next();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetScroll]", "AfterScroll"}));
    CAjuste->Last();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetChange]", "AfterScroll"}));
    EXPECT_TRUE(CAjuste->Eof());
    CAjuste->Next();
    EXPECT_TRUE(CAjuste->Eof());
    EXPECT_EQ(CurrentId(CAjuste), 4);
    Take();
    CAjuste->First();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetChange]", "AfterScroll"}));
    EXPECT_TRUE(CAjuste->Bof());
    CAjuste->Prior();
    EXPECT_TRUE(CAjuste->Bof());
    EXPECT_EQ(CurrentId(CAjuste), 1);
    Take();
    CAjuste->Close();
    EXPECT_EQ(Take(), (Log{"BeforeClose", "[UpdateState]", "AfterClose"}));
}

TEST_F(ClientTableEvents, EditFieldChangePostAndCancel) {
    OpenQuietly();
    CAjuste->Edit();
    EXPECT_EQ(Take(),
              (Log{"[CheckBrowseMode]", "BeforeEdit", "[UpdateState]", "[RecordChange]", "AfterEdit"}));
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("XY");
    EXPECT_EQ(Take(), (Log{"[FieldChange]"}));
    CAjuste->Post();
    EXPECT_EQ(Take(), (Log{"[UpdateRecord]", "[CheckBrowseMode]", "BeforePost", "[UpdateState]",
                           "[DataSetChange]", "AfterPost"}));
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("ZZ");
    Take();
    CAjuste->Cancel();
    EXPECT_EQ(Take(),
              (Log{"[CheckBrowseMode]", "BeforeCancel", "[UpdateState]", "[DataSetChange]", "AfterCancel"}));
    EXPECT_EQ(CAjuste->FieldByName("AJCI_PREFNO").AsString(), "XY");
}

TEST_F(ClientTableEvents, InsertAppendCancelAndDelete) {
    OpenQuietly();
    CAjuste->Next();
    Take();
    CAjuste->Insert();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeInsert", "BeforeScroll", "[UpdateState]",
                           "OnNewRecord", "[DataSetChange]", "AfterInsert", "AfterScroll"}));
    CAjuste->Cancel();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeCancel", "BeforeScroll", "[UpdateState]",
                           "[DataSetChange]", "AfterCancel", "AfterScroll"}));
    EXPECT_EQ(CurrentId(CAjuste), 2);
    CAjuste->Append();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeInsert", "BeforeScroll", "[UpdateState]",
                           "OnNewRecord", "[DataSetChange]", "AfterInsert", "AfterScroll"}));
    CAjuste->FieldByName("AJCI_ID").SetAsInteger(7);
    Take();
    CAjuste->CheckBrowseMode();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "[UpdateRecord]", "[UpdateRecord]", "[CheckBrowseMode]",
                           "BeforePost", "[UpdateState]", "[DataSetChange]", "AfterPost"}));
    EXPECT_EQ(CAjuste->RecordCount(), 5);
    CAjuste->First();
    Take();
    CAjuste->Delete();
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeDelete", "BeforeScroll", "[DataSetChange]",
                           "AfterDelete", "AfterScroll"}));
    EXPECT_EQ(CurrentId(CAjuste), 2);
}

TEST_F(ClientTableEvents, LocateResynchronisesOnlyWhenItFinds) {
    OpenQuietly();
    EXPECT_TRUE(CAjuste->Locate("AJCI_ID", {std::int64_t{3}}, {}));
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "BeforeScroll", "[DataSetChange]", "AfterScroll"}));
    EXPECT_FALSE(CAjuste->Locate("AJCI_ID", {std::int64_t{42}}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 3);
}

TEST_F(ClientTableEvents, ApplyingResynchronisesAfterEachFailedChangeIsReported) {
    OpenQuietly();
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("ZZ");  // names no prefix: the database refuses it
    CAjuste->Post();
    Take();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 1);
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "[ReconcileError]", "[DataSetChange]"}));
    EXPECT_EQ(CAjuste->ChangeCount(), 1);

    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PREFNO").SetAsString("CA");
    CAjuste->Post();
    Take();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(Take(), (Log{"[CheckBrowseMode]", "[DataSetChange]"}));
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
}

}  // namespace
}  // namespace contado
