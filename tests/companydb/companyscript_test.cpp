#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/companydb/companyledger.h"
#include "tests/companydb/firebirdsession.h"
#include "tests/support/companydatabase.h"

namespace contado {
namespace {

namespace fs = std::filesystem;

using testing::Each;
using testing::ElementsAre;
using testing::Ge;
using testing::HasSubstr;
using testing::SizeIs;

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Text(const TTextRow& row, std::size_t column) {
    return row.at(column).value_or("<null>");
}

// Invoice count and amounts of every prefix, point of sale and customer.
std::vector<TTextRow> SalesSummary(TFirebirdSession& session) {
    return session.Query(
        "select f.FACT_PREFIJO, f.FACT_PUNTO_VENTA, f.FACT_NIT, count(distinct f.FACT_ID), sum(d.FADE_BASE), "
        "sum(d.FADE_IVA), min(f.FACT_FECHA), max(f.FACT_FECHA) from FACTURA f join FACTURA_DETALLE d on "
        "d.FADE_FACTURA = f.FACT_ID group by 1, 2, 3 order by 1, 2, 3");
}

TEST(CompanyScriptTest, RefusesToOverwriteAnExistingDatabase) {
    TTestCompany company;
    const std::string before = FileBytes(company.DatabasePath());

    TProcessResult result = TTestCompany::RunCreationScript({company.ServerDir(), company.CompanyCode()});

    EXPECT_NE(result.ExitCode, 0);
    EXPECT_THAT(result.Output, HasSubstr("already exists"));
    EXPECT_EQ(FileBytes(company.DatabasePath()), before);
}

TEST(CompanyScriptTest, RejectsBadArgumentsWithoutCreatingAnything) {
    TTestCompany company;
    const fs::path serverDir = fs::path(company.ServerDir()) / "other";

    for (const std::vector<std::string>& arguments : {std::vector<std::string>{serverDir},
                                                      {serverDir, "02", "--demo", "0"},
                                                      {serverDir, "02", "--demo", "x"},
                                                      {serverDir, "02", "--days", "3"},
                                                      {serverDir, "../02"}}) {
        TProcessResult result = TTestCompany::RunCreationScript(arguments);
        EXPECT_NE(result.ExitCode, 0) << result.Output;
        EXPECT_FALSE(fs::exists(serverDir / "datos" / "02" / "tandrel.fdb"));
    }
}

TEST(CompanyScriptTest, DemoHistoryIsTheSameOnEveryCreation) {
    TTestCompany company;
    std::vector<std::vector<TTextRow>> summaries;
    for (const std::string code : {"10", "11"}) {
        TProcessResult result = TTestCompany::RunCreationScript({company.ServerDir(), code, "--demo", "2"});
        ASSERT_EQ(result.ExitCode, 0) << result.Output;
        TFirebirdSession session(company.ServerDir() + "/datos/" + code + "/tandrel.fdb");
        summaries.push_back(SalesSummary(session));
    }

    EXPECT_THAT(summaries[0], SizeIs(Ge(4u)));
    EXPECT_EQ(summaries[0], summaries[1]);
}

class DemoCompanyTest : public testing::Test {
  protected:
    static constexpr int kDays = 3;

    TTestCompany company_{kDays};
    TFirebirdSession session_{company_.DatabasePath()};
    TCompanyLedger ledger_{session_};
};

TEST_F(DemoCompanyTest, HoldsAFewHundredSalesADayUpToTodayOfEveryKind) {
    auto days = session_.Query(
        "select count(*), datediff(day from FACT_FECHA to current_date) from FACTURA "
        "where FACT_PREFIJO = 'FV' and FACT_PUNTO_VENTA = '01' group by 2 order by 2");
    ASSERT_EQ(days.size(), static_cast<std::size_t>(kDays));
    for (std::size_t day = 0; day < days.size(); ++day) {
        EXPECT_EQ(Text(days[day], 1), std::to_string(day));
        EXPECT_GE(std::stoi(Text(days[day], 0)), 150);
    }

    auto kinds = session_.Query(
        "select count(case when FACT_NIT <> '222222222222' then 1 end), "
        "count(case when FACT_PREFIJO <> 'FV' then 1 end), count(case when FACT_PUNTO_VENTA <> '01' then 1 "
        "end) "
        "from FACTURA");
    EXPECT_THAT(kinds.at(0), Each(testing::Optional(testing::Ne("0"))));
}

TEST_F(DemoCompanyTest, PlannedAdjustmentsCoverToday) {
    auto today = session_.Query("select current_date from rdb$database").at(0).at(0).value();
    for (const std::string rate : {"19", "5"}) {
        auto rows = session_.Query("SELECT AJCI_ID FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= '" + today +
                                   "' AND AJCI_FECFIN >= '" + today + "' AND AJCI_PORC = " + rate +
                                   " ORDER BY AJCI_FECINI DESC");
        EXPECT_FALSE(rows.empty()) << rate;
    }
}

TEST_F(DemoCompanyTest, PostingTodayPostsExactlyTheDaysCashSales) {
    auto today = session_.Query("select current_date from rdb$database").at(0).at(0).value();
    auto expected = session_.Query(
        "select sum(d.FADE_BASE + d.FADE_IVA), count(distinct f.FACT_ID) from FACTURA f join FACTURA_DETALLE "
        "d "
        "on d.FADE_FACTURA = f.FACT_ID where f.FACT_FECHA = current_date and f.FACT_PREFIJO = 'FV' and "
        "f.FACT_PUNTO_VENTA = '01' and f.FACT_NIT = '222222222222'");

    session_.Execute(
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO) "
        "select 0, current_date, current_date, a.AJCI_PORC, a.AJCI_FACTOR, a.AJCI_PREFNO "
        "from AJUSTE_CIERRE_AUTO a where a.AJCI_ID = (select first 1 b.AJCI_ID from AJUSTE_CIERRE_AUTO b "
        "where b.AJCI_PORC = a.AJCI_PORC and b.AJCI_FECINI <= current_date and b.AJCI_FECFIN >= current_date "
        "order by b.AJCI_FECINI desc)");

    auto vouchers = ledger_.Post("contado_ralvek", today, today);

    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(vouchers[0].Prefix, "CA");
    EXPECT_EQ(vouchers[1].Prefix, "CV");
    std::int64_t cash = 0;
    for (const auto& voucher : vouchers) {
        EXPECT_EQ(voucher.Debit, voucher.Credit) << voucher.Prefix;
        EXPECT_EQ(voucher.Date, today);
        for (const auto& line : ledger_.Lines(voucher.Id)) {
            cash += line.Account == "110505" ? line.Debit : 0;
        }
    }
    EXPECT_EQ(cash, Cents(expected.at(0).at(0)));
    EXPECT_THAT(session_.Query("select count(*) from FACTURA_CONTABLE"),
                ElementsAre(ElementsAre(expected.at(0).at(1))));
}

}  // namespace
}  // namespace contado
