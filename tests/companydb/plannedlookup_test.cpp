#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/bcd.h"
#include "core/datetime.h"
#include "core/formatsettings.h"
#include "tests/companydb/firebirdsession.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"

// The unattended run's lookup of a rate's planned adjustment is served by the index on rate and last
// day, so the rows that ended long ago are not read; a company file made before that index gets it
// from scripts/migrate-company-db.sh, which may run any number of times.

namespace contado {
namespace {

using testing::ElementsAre;

constexpr const char* kIndexedPlan = "PLAN SORT (AJUSTE_CIERRE_AUTO INDEX (IX_AJUSTE_AUTO_PORC_FECFIN))";

// The text the program sends (Tfquenvar::ConsultaAjustePrevisto), built by the same functions.
std::string LookupText(const TBcd& rate) {
    const std::string day = SqlDateText(Today());
    return "SELECT AJCI_ID, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= " + day + " AND AJCI_FECFIN >= " + day +
           " AND AJCI_PORC = " + rate.ToString('.') + " ORDER BY AJCI_FECINI DESC";
}

std::vector<TTextRow> Indexes(TFirebirdSession& session) {
    return session.Query(
        "select trim(RDB$INDEX_NAME) from RDB$INDICES where RDB$RELATION_NAME = 'AJUSTE_CIERRE_AUTO' "
        "order by 1");
}

TEST(PlannedAdjustmentLookup, EveryRateIsLookedUpThroughTheIndexOnRateAndLastDay) {
    TTestCompany company;
    TFirebirdSession session(company.DatabasePath());
    for (const TBcd& rate : {TBcd::FromUnscaled(0, 4), TBcd::FromUnscaled(190000, 4), TBcd::FromUnscaled(25, 1)}) {
        EXPECT_EQ(session.Plan(LookupText(rate)), kIndexedPlan) << LookupText(rate);
    }
}

TEST(CompanyMigration, AFileMadeWithoutTheIndexGetsItAndRunningAgainChangesNothing) {
    TTestCompany company{2};
    const std::string script = CONTADO_SOURCE_DIR "/scripts/migrate-company-db.sh";
    std::vector<TTextRow> planned;
    {
        // The planned adjustments' indexes as the scripts made them before.
        TFirebirdSession session(company.DatabasePath());
        session.Execute("drop index IX_AJUSTE_AUTO_PORC_FECFIN");
        session.Execute("create index IX_AJUSTE_CIERRE_AUTO_FECINI on AJUSTE_CIERRE_AUTO (AJCI_FECINI)");
        ASSERT_NE(session.Plan(LookupText(TBcd::FromInt64(19))), kIndexedPlan);
        planned = session.Query("select * from AJUSTE_CIERRE_AUTO order by AJCI_ID");
    }
    for (int run = 1; run <= 2; ++run) {
        const TChildResult result = RunChild(script, {company.ServerDir(), company.CompanyCode()});
        ASSERT_EQ(result.ExitCode, 0) << run << ": " << result.StandardError;
        EXPECT_EQ(result.StandardOutput, company.DatabasePath() + "\n");
        TFirebirdSession session(company.DatabasePath());
        EXPECT_EQ(session.Plan(LookupText(TBcd::FromInt64(19))), kIndexedPlan) << run;
        EXPECT_THAT(Indexes(session), ElementsAre(ElementsAre("FK_AJUSTE_CIERRE_AUTO_PREFIJO"),
                                                  ElementsAre("IX_AJUSTE_AUTO_PORC_FECFIN"),
                                                  ElementsAre("PK_AJUSTE_CIERRE_AUTO")))
            << run;
        EXPECT_EQ(session.Query("select * from AJUSTE_CIERRE_AUTO order by AJCI_ID"), planned) << run;
    }
}

}  // namespace
}  // namespace contado
