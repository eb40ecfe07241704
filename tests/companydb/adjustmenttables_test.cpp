#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/companydb/firebirdsession.h"
#include "tests/support/companydatabase.h"

namespace contado {
namespace {

using testing::ElementsAre;
using testing::StartsWith;

class AdjustmentTablesTest : public testing::TestWithParam<std::string> {
  protected:
    std::string Table() const { return GetParam(); }

    // Inserts a row the way the program's generated statements write it; answers the new row's id.
    int Insert(const std::string& id, const std::string& firstDay, const std::string& rate,
               const std::string& prefix = "null") {
        auto rows = session_.Query("insert into \"" + Table() +
                                   "\" (\"AJCI_ID\", \"AJCI_FECINI\", \"AJCI_FECFIN\", \"AJCI_PORC\", "
                                   "\"AJCI_FACTOR\", \"AJCI_PREFNO\") values (" +
                                   id + ", '" + firstDay + "', '" + firstDay + "', " + rate + ", 0.85, " +
                                   prefix + ") returning AJCI_ID");
        return std::stoi(rows.at(0).at(0).value());
    }

    std::string InsertError(const std::string& id, const std::string& firstDay, const std::string& rate,
                            const std::string& prefix = "null") {
        try {
            Insert(id, firstDay, rate, prefix);
        } catch (const TFirebirdError& error) {
            return error.what();
        }
        return "no error";
    }

    TTestCompany company_;
    TFirebirdSession session_{company_.DatabasePath()};
};

TEST_P(AdjustmentTablesTest, ZeroOrNullIdGetsAGeneratedIdAndAnyOtherIdIsKept) {
    int first = Insert("0", "2026-12-09", "19");
    int second = Insert("null", "2026-12-09", "5");
    int third = Insert("0", "2026-12-09", "0");

    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_GT(third, second);
    EXPECT_EQ(Insert("900", "2026-12-10", "19"), 900);
}

TEST_P(AdjustmentTablesTest, ClientUpdateAndDeleteFindTheRowByEveryColumn) {
    int id = Insert("0", "2026-12-09", "19");
    const std::string where = " where \"AJCI_ID\" = " + std::to_string(id) +
                              " and \"AJCI_FECINI\" = '2026-12-09' and \"AJCI_FECFIN\" = '2026-12-09' and "
                              "\"AJCI_PORC\" = 19 and \"AJCI_PREFNO\" is null";

    EXPECT_EQ(session_.Execute("update \"" + Table() + "\"  set \"AJCI_FACTOR\" = 0.9" + where +
                               " and \"AJCI_FACTOR\" = 0.85"),
              1u);
    EXPECT_EQ(session_.Execute("delete from \"" + Table() + "\"" + where + " and \"AJCI_FACTOR\" = 0.85"),
              0u);
    EXPECT_EQ(session_.Execute("delete from \"" + Table() + "\"" + where + " and \"AJCI_FACTOR\" = 0.9"), 1u);
}

TEST_P(AdjustmentTablesTest, DuplicateIdAndUnknownPrefixBreakTheirKeys) {
    Insert("7", "2026-12-09", "19", "'CA'");

    EXPECT_THAT(InsertError("7", "2026-12-10", "19"), StartsWith("violation of PRIMARY"));
    EXPECT_THAT(InsertError("0", "2026-12-10", "19", "'ZZ'"), StartsWith("violation of FOREIGN"));
    EXPECT_THAT(InsertError("0", "2026-12-10", "19", "''"), StartsWith("violation of FOREIGN"));
    try {
        session_.Execute("delete from PREFIJO where PREF_CODIGO = 'CA'");
        ADD_FAILURE() << "a prefix in use was deleted";
    } catch (const TFirebirdError& error) {
        EXPECT_THAT(error.what(), StartsWith("violation of FOREIGN"));
    }
}

INSTANTIATE_TEST_SUITE_P(BothTables, AdjustmentTablesTest,
                         testing::Values("AJUSTE_CIERRE", "AJUSTE_CIERRE_AUTO"));

class CompanyTablesTest : public testing::Test {
  protected:
    TTestCompany company_;
    TFirebirdSession session_{company_.DatabasePath()};
};

TEST_F(CompanyTablesTest, ClosingAdjustmentsAllowOneRowPerFirstDayAndRate) {
    const std::string insert =
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO) "
        "values (0, '2026-12-09', ";
    session_.Execute(insert + "'2026-12-09', 19, 0.85, null)");
    session_.Execute(insert + "'2026-12-09', 5, 0.85, null)");

    try {
        session_.Execute(insert + "'2026-12-31', 19, 0.9, 'CA')");
        ADD_FAILURE() << "a second adjustment of the day and rate was stored";
    } catch (const TFirebirdError& error) {
        EXPECT_THAT(error.what(), StartsWith("violation of PRIMARY"));
    }
}

TEST_F(CompanyTablesTest, PlannedAdjustmentQueryFindsTheRowsCoveringTheDayLatestFirst) {
    const std::string insert =
        "insert into AJUSTE_CIERRE_AUTO (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR) values ";
    session_.Execute(insert + "(1, '2026-12-01', '2026-12-31', 19, 0.9)");
    session_.Execute(insert + "(2, '2026-12-09', '2026-12-09', 19, 0.8)");
    session_.Execute(insert + "(3, '2026-11-01', '2026-12-08', 19, 0.7)");
    session_.Execute(insert + "(4, '2026-12-10', '2026-12-31', 19, 0.7)");
    session_.Execute(insert + "(5, '2026-12-01', '2026-12-31', 5, 0.95)");

    auto rows = session_.Query(
        "SELECT AJCI_ID FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= '2026-12-09' AND AJCI_FECFIN >= "
        "'2026-12-09' AND AJCI_PORC = 19 ORDER BY AJCI_FECINI DESC");

    EXPECT_THAT(rows, ElementsAre(ElementsAre("2"), ElementsAre("1")));
}

TEST_F(CompanyTablesTest, RateListHoldsTheVatRates) {
    EXPECT_THAT(session_.Query("SELECT DISTINCT TAIV_PORC FROM TARIFA_IVA"),
                ElementsAre(ElementsAre("0.0000"), ElementsAre("5.0000"), ElementsAre("19.0000")));
}

}  // namespace
}  // namespace contado
