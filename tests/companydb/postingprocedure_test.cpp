#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/companydb/companyledger.h"
#include "tests/companydb/firebirdsession.h"
#include "tests/support/companydatabase.h"

namespace contado {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class PostingProcedureTest : public testing::Test {
  protected:
    void AddCustomer(const std::string& taxId) {
        session_.Execute("insert into TERCERO (TERC_NIT, TERC_NOMBRE) values ('" + taxId + "', 'Cliente')");
    }

    std::int64_t LedgerTotal(const std::string& column, const std::string& book) {
        auto rows = session_.Query("select coalesce(sum(d." + column +
                                   "), 0) from COMPROBANTE_DETALLE d join COMPROBANTE c on c.COMP_ID = "
                                   "d.CODE_COMPROBANTE where c.COMP_LIBRO = '" +
                                   book + "'");
        return Cents(rows.at(0).at(0));
    }

    TTestCompany company_;
    TFirebirdSession session_{company_.DatabasePath()};
    TCompanyLedger ledger_{session_};
};

TEST_F(PostingProcedureTest, EachDaysCashSalesGoIntoOneBalancedVoucherPerDay) {
    ledger_.AddCashSale(1, "2026-03-02", {{"19", "100.01", "19.00"}, {"5", "20.05", "1.00"}});
    ledger_.AddCashSale(2, "2026-03-02", {{"19", "0.99", "0.19"}, {"0", "7.77", "0"}});
    ledger_.AddCashSale(3, "2026-03-03", {{"19", "50.00", "9.50"}});

    auto vouchers = ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-03");

    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(vouchers[0].Date, "2026-03-02");
    EXPECT_EQ(vouchers[0].Prefix, "CV");
    EXPECT_EQ(vouchers[0].Number, 1);
    EXPECT_EQ(vouchers[0].Invoices, 2);
    EXPECT_EQ(vouchers[0].Debit, 14901);
    EXPECT_EQ(vouchers[0].Credit, 14901);
    EXPECT_EQ(vouchers[1].Date, "2026-03-03");
    EXPECT_EQ(vouchers[1].Number, 2);
    EXPECT_EQ(vouchers[1].Invoices, 1);
    EXPECT_EQ(vouchers[1].Debit, 5950);
    EXPECT_EQ(vouchers[1].Credit, 5950);
    EXPECT_THAT(ledger_.Lines(vouchers[0].Id), ElementsAre(TVoucherLine{"413595", 0, 777, "0.0000", 777},
                                                           TVoucherLine{"413595", 0, 2005, "5.0000", 2005},
                                                           TVoucherLine{"240801", 0, 100, "5.0000", 2005},
                                                           TVoucherLine{"413595", 0, 10100, "19.0000", 10100},
                                                           TVoucherLine{"240801", 0, 1919, "19.0000", 10100},
                                                           TVoucherLine{"110505", 14901, 0, "", 0}));
}

TEST_F(PostingProcedureTest, TheDaysAdjustmentGivesFactorAndVoucherPrefixPerRate) {
    ledger_.AddCashSale(1, "2026-03-02", {{"19", "1000.01", "190.00"}, {"5", "333.33", "16.67"}});
    ledger_.AddCashSale(2, "2026-03-02", {{"0", "10.00", "0"}});
    ledger_.AddClosingAdjustment("2026-02-01", "2026-03-31", "19", "0.5", "");
    ledger_.AddClosingAdjustment("2026-03-02", "2026-03-02", "19", "0.8333", "CA");
    ledger_.AddClosingAdjustment("2026-03-01", "2026-03-05", "0", "1.1", "");

    auto vouchers = ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02");

    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(vouchers[0].Prefix, "CA");
    EXPECT_EQ(vouchers[0].Number, 1);
    EXPECT_EQ(vouchers[0].Invoices, 1);
    // 1000.01 * 0.8333 = 833.308333: revenue 833.31, the remainder 166.70 goes to the adjustment account.
    EXPECT_THAT(ledger_.Lines(vouchers[0].Id),
                ElementsAre(TVoucherLine{"413595", 0, 83331, "19.0000", 100001},
                            TVoucherLine{"417595", 0, 16670, "19.0000", 100001},
                            TVoucherLine{"240801", 0, 19000, "19.0000", 100001},
                            TVoucherLine{"110505", 119001, 0, "", 0}));
    EXPECT_EQ(vouchers[1].Prefix, "CV");
    EXPECT_EQ(vouchers[1].Number, 1);
    EXPECT_EQ(vouchers[1].Invoices, 2);
    // A factor above 1 takes revenue above the base; the difference is a debit of the adjustment account.
    EXPECT_THAT(ledger_.Lines(vouchers[1].Id), ElementsAre(TVoucherLine{"413595", 0, 1100, "0.0000", 1000},
                                                           TVoucherLine{"417595", 100, 0, "0.0000", 1000},
                                                           TVoucherLine{"413595", 0, 33333, "5.0000", 33333},
                                                           TVoucherLine{"240801", 0, 1667, "5.0000", 33333},
                                                           TVoucherLine{"110505", 36000, 0, "", 0}));
    for (const auto& voucher : vouchers) {
        EXPECT_EQ(voucher.Debit, voucher.Credit) << voucher.Prefix;
    }
}

TEST_F(PostingProcedureTest, AdjustmentWithoutFactorOrPrefixKeepsTheBaseAndTheDefaultPrefix) {
    ledger_.AddCashSale(1, "2026-03-02", {{"19", "80.00", "15.20"}});
    session_.Execute(
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO) "
        "values (0, '2026-03-02', null, 19, null, null)");

    auto vouchers = ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02");

    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0].Prefix, "CV");
    EXPECT_THAT(ledger_.Lines(vouchers[0].Id), ElementsAre(TVoucherLine{"413595", 0, 8000, "19.0000", 8000},
                                                           TVoucherLine{"240801", 0, 1520, "19.0000", 8000},
                                                           TVoucherLine{"110505", 9520, 0, "", 0}));
}

TEST_F(PostingProcedureTest, PostedSalesAreNotPostedAgainButLaterSalesOfTheDayAre) {
    int first = ledger_.AddCashSale(1, "2026-03-02", {{"19", "10.00", "1.90"}});
    ASSERT_EQ(ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02").size(), 1u);

    EXPECT_THAT(ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02"), IsEmpty());

    int later = ledger_.AddCashSale(2, "2026-03-02", {{"5", "20.00", "1.00"}});
    auto vouchers = ledger_.Post("contado_ralvek", "2026-03-01", "2026-03-03");
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0].Number, 2);
    EXPECT_EQ(vouchers[0].Invoices, 1);
    EXPECT_EQ(vouchers[0].Debit, 2100);
    EXPECT_THAT(ledger_.BooksOf(first), ElementsAre("LOCAL"));
    EXPECT_THAT(ledger_.BooksOf(later), ElementsAre("LOCAL"));
    EXPECT_EQ(LedgerTotal("CODE_DEBITO", "LOCAL"), 1190 + 2100);
}

TEST_F(PostingProcedureTest, RangeWhoseFirstDayIsAfterItsLastPostsNothing) {
    int first = ledger_.AddCashSale(1, "2026-03-02", {{"19", "10.00", "1.90"}});
    int second = ledger_.AddCashSale(2, "2026-03-03", {{"19", "10.00", "1.90"}});

    EXPECT_THAT(ledger_.Post("contado_ralvek", "2026-03-03", "2026-03-02"), IsEmpty());
    EXPECT_THAT(ledger_.BooksOf(first), IsEmpty());
    EXPECT_THAT(ledger_.BooksOf(second), IsEmpty());
    EXPECT_EQ(ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-03").size(), 2u);
}

TEST_F(PostingProcedureTest, OnlyCashSalesOfTheConfiguredPrefixAndPointOfSaleArePosted) {
    AddCustomer("900100101");
    int cash = ledger_.AddCashSale(1, "2026-03-02", {{"19", "10.00", "1.90"}});
    int customer = ledger_.AddInvoice("FV", 2, "01", "2026-03-02", "900100101", {{"19", "500.00", "95.00"}});
    int otherPrefix =
        ledger_.AddInvoice("FE", 1, "01", "2026-03-02", "222222222222", {{"5", "40.00", "2.00"}});
    int otherPoint = ledger_.AddInvoice("FV", 3, "02", "2026-03-02", "222222222222", {{"0", "30.00", "0"}});

    for (const std::string procedure : {"contado_ralvek", "contado_ralvek_niif"}) {
        auto vouchers = ledger_.Post(procedure, "2026-03-01", "2026-03-31");
        ASSERT_EQ(vouchers.size(), 1u) << procedure;
        EXPECT_EQ(vouchers[0].Invoices, 1) << procedure;
        EXPECT_EQ(vouchers[0].Debit, 1190) << procedure;
    }
    EXPECT_THAT(ledger_.BooksOf(cash), ElementsAre("LOCAL", "NIIF"));
    EXPECT_THAT(ledger_.BooksOf(customer), IsEmpty());
    EXPECT_THAT(ledger_.BooksOf(otherPrefix), IsEmpty());
    EXPECT_THAT(ledger_.BooksOf(otherPoint), IsEmpty());
}

TEST_F(PostingProcedureTest, NiifBookIsPostedIndependentlyWithItsOwnAccountsAndNumbers) {
    int sale = ledger_.AddCashSale(1, "2026-03-02", {{"19", "10.00", "1.90"}});
    ASSERT_EQ(ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02").size(), 1u);

    auto niif = ledger_.Post("contado_ralvek_niif", "2026-03-02", "2026-03-02");

    ASSERT_EQ(niif.size(), 1u);
    EXPECT_EQ(niif[0].Prefix, "CV");
    EXPECT_EQ(niif[0].Number, 1);
    EXPECT_THAT(ledger_.Lines(niif[0].Id), ElementsAre(TVoucherLine{"N410505", 0, 1000, "19.0000", 1000},
                                                       TVoucherLine{"N240801", 0, 190, "19.0000", 1000},
                                                       TVoucherLine{"N110505", 1190, 0, "", 0}));
    EXPECT_THAT(ledger_.Post("contado_ralvek_niif", "2026-03-02", "2026-03-02"), IsEmpty());
    EXPECT_THAT(ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02"), IsEmpty());
    EXPECT_THAT(ledger_.BooksOf(sale), ElementsAre("LOCAL", "NIIF"));
    EXPECT_EQ(LedgerTotal("CODE_DEBITO", "LOCAL"), 1190);
    EXPECT_EQ(LedgerTotal("CODE_CREDITO", "NIIF"), 1190);
}

}  // namespace
}  // namespace contado
