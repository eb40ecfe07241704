#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/utf8text.h"
#include "tests/data/client/clienttablefixture.h"

// Spanish text in the closing adjustments: sizes by characters, case folding of every letter, and
// Locate never matching a value longer than its field.

namespace contado {
namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;

class ClientTableTextTest : public ClientTableTest {
  protected:
    ClientTableTextTest() {
        for (const char* prefix : {"ÑÑA", "ÑA", "ÉSTE", "ABCD"}) {
            Execute(std::string("insert into PREFIJO values ('") + prefix + "', 'Prueba')");
        }
    }

    // Stores a CAjuste row for 9 December 2026 with that prefix through the provider.
    void StoreAdjustment(int id, int rate, const std::string& prefix) {
        CAjuste->Insert();
        CAjuste->FieldByName("AJCI_ID").SetAsInteger(id);
        CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 9));
        CAjuste->FieldByName("AJCI_PORC").SetAsInteger(rate);
        CAjuste->FieldByName("AJCI_PREFNO").SetAsString(prefix);
        CAjuste->Post();
        ASSERT_EQ(CAjuste->ApplyUpdates(0), 0);
    }

    std::string Prefix() const { return CAjuste->FieldByName("AJCI_PREFNO").AsString(); }
};

TEST_F(ClientTableTextTest, ASpanishPrefixIsStoredWholeAndFoundByLocateAndFilter) {
    CAjuste->Open();
    StoreAdjustment(50, 5, "ÑÑA");
    StoreAdjustment(51, 19, "FV");
    EXPECT_EQ(Scalar("select AJCI_PREFNO from AJUSTE_CIERRE where AJCI_ID = 50"), "ÑÑA");

    CAjuste->Close();
    CAjuste->Open();
    ASSERT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("ÑÑA")}, {}));
    EXPECT_EQ(CurrentId(CAjuste), 50);
    EXPECT_EQ(Prefix(), "ÑÑA");

    CAjuste->SetFilter("AJCI_PREFNO = 'ÑÑA'");
    CAjuste->SetFiltered(true);
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(50));
    CAjuste->SetFilter("AJCI_PREFNO = 'ÑÑ*'");
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(50));
}

TEST_F(ClientTableTextTest, ATextIsCutToTheFieldsSizeInCharacters) {
    CAjuste->Open();
    CAjuste->Insert();
    TField& prefix = CAjuste->FieldByName("AJCI_PREFNO");
    prefix.SetAsString("ÑÑÑÑÑ");
    EXPECT_EQ(prefix.AsString(), "ÑÑÑÑ");
    prefix.SetAsString("AÑÑÑÑ");
    EXPECT_EQ(prefix.AsString(), "AÑÑÑ");
    EXPECT_EQ(CharacterCount(prefix.AsString()), 4u);
    CAjuste->Cancel();

    // A filter constant is cut to the field's four characters as well.
    StoreAdjustment(52, 5, "ÉSTE");
    CAjuste->SetFilter("AJCI_PREFNO = 'ÉSTEX'");
    CAjuste->SetFiltered(true);
    EXPECT_THAT(VisibleIds(CAjuste), ElementsAre(52));
}

TEST_F(ClientTableTextTest, CaseInsensitiveSearchesFoldEveryLetter) {
    CAjuste->Open();
    StoreAdjustment(60, 0, "ÑA");
    StoreAdjustment(61, 5, "ÉSTE");
    StoreAdjustment(62, 19, "FV");
    CAjuste->First();

    EXPECT_FALSE(CAjuste->Locate("AJCI_PREFNO", {std::string("ña")}, {}));
    ASSERT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("ña")}, {loCaseInsensitive}));
    EXPECT_EQ(CurrentId(CAjuste), 60);
    ASSERT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("éste")}, {loCaseInsensitive}));
    EXPECT_EQ(CurrentId(CAjuste), 61);
    ASSERT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("És")}, {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentId(CAjuste), 61);

    CAjuste->SetFilterOptions({foCaseInsensitive});
    CAjuste->SetFilter("AJCI_PREFNO = 'éste' or AJCI_PREFNO like 'ñ%'");
    CAjuste->SetFiltered(true);
    EXPECT_THAT(VisibleIds(CAjuste), UnorderedElementsAre(60, 61));
}

TEST_F(ClientTableTextTest, LocateNeverMatchesAValueLongerThanTheField) {
    CAjuste->Open();
    StoreAdjustment(70, 5, "ABCD");
    CAjuste->First();
    EXPECT_FALSE(CAjuste->Locate("AJCI_PREFNO", {std::string("ABCDX")}, {}));
    EXPECT_FALSE(CAjuste->Locate("AJCI_PREFNO", {std::string("ABCDX")}, {loPartialKey}));
    EXPECT_FALSE(CAjuste->Locate("AJCI_PREFNO", {std::string("abcdx")}, {loCaseInsensitive}));
    EXPECT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("ABCD")}, {}));
    EXPECT_TRUE(CAjuste->Locate("AJCI_PREFNO", {std::string("ABC")}, {loPartialKey}));
    EXPECT_EQ(CurrentId(CAjuste), 70);
}

}  // namespace
}  // namespace contado
