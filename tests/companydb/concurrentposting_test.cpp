#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/companydb/companyledger.h"
#include "tests/companydb/firebirdsession.h"
#include "tests/support/companydatabase.h"

namespace contado {
namespace {

using testing::HasSubstr;

// What a posting run in another thread saw: its vouchers or its error, and whether it ended only after the
// first connection had begun to end its transaction.
struct TOtherRun {
    std::vector<TPostedVoucher> Vouchers;
    std::string Error;
    bool EndedAfterFirstFinished = false;
};

class ConcurrentPostingTest : public testing::Test {
  protected:
    void SetUp() override {
        for (int number = 1; number <= 20; ++number) {
            ledger_.AddCashSale(number, "2026-03-02", {{"19", std::to_string(number) + ".37", "1.11"}});
        }
        expectedCash_ = 20 * 111 + 20 * 37 + 100 * (20 * 21 / 2);
    }

    // Starts the same posting on a second connection while the first one holds its uncommitted posting, lets
    // it run into the first one's locks, then ends the first transaction with `finishFirst`.
    template <typename Finish>
    TOtherRun PostTwiceOverlapping(std::vector<TPostedVoucher>& firstVouchers, Finish finishFirst) {
        TFirebirdSession other(company_.DatabasePath());
        TCompanyLedger otherLedger(other);
        session_.StartTransaction();
        firstVouchers = ledger_.Post("contado_ralvek", "2026-03-02", "2026-03-02");

        std::atomic<bool> firstFinishing = false;
        TOtherRun run;
        other.StartTransaction();
        std::thread worker([&] {
            try {
                run.Vouchers = otherLedger.Post("contado_ralvek", "2026-03-02", "2026-03-02");
            } catch (const TFirebirdError& error) {
                run.Error = error.what();
            }
            run.EndedAfterFirstFinished = firstFinishing;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        firstFinishing = true;
        finishFirst();
        worker.join();
        if (run.Error.empty()) {
            other.Commit();
        } else {
            other.Rollback();
        }
        return run;
    }

    std::int64_t PostedCash() {
        auto rows = session_.Query(
            "select coalesce(sum(d.CODE_DEBITO), 0) from COMPROBANTE_DETALLE d "
            "join COMPROBANTE c on c.COMP_ID = d.CODE_COMPROBANTE where c.COMP_LIBRO = 'LOCAL'");
        return Cents(rows.at(0).at(0));
    }

    int PostedInvoices() {
        return std::stoi(session_.Query("select count(*) from FACTURA_CONTABLE").at(0).at(0).value());
    }

    TTestCompany company_;
    TFirebirdSession session_{company_.DatabasePath()};
    TCompanyLedger ledger_{session_};
    std::int64_t expectedCash_ = 0;
};

TEST_F(ConcurrentPostingTest, SecondPostingOfTheSameDayWaitsAndThenPostsNothingTwice) {
    std::vector<TPostedVoucher> first;
    TOtherRun second = PostTwiceOverlapping(first, [this] { session_.Commit(); });

    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].Invoices, 20);
    EXPECT_TRUE(second.EndedAfterFirstFinished);
    if (second.Error.empty()) {
        EXPECT_TRUE(second.Vouchers.empty());
    } else {
        EXPECT_THAT(second.Error, HasSubstr("E_CONTABILIZACION_CONCURRENTE"));
    }
    EXPECT_EQ(PostedInvoices(), 20);
    EXPECT_EQ(PostedCash(), expectedCash_);
}

TEST_F(ConcurrentPostingTest, WhenTheFirstPostingRollsBackTheWaitingOnePostsTheDay) {
    std::vector<TPostedVoucher> first;
    TOtherRun second = PostTwiceOverlapping(first, [this] { session_.Rollback(); });

    EXPECT_EQ(first.size(), 1u);
    EXPECT_TRUE(second.EndedAfterFirstFinished);
    EXPECT_EQ(second.Error, "");
    ASSERT_EQ(second.Vouchers.size(), 1u);
    EXPECT_EQ(second.Vouchers[0].Invoices, 20);
    EXPECT_EQ(second.Vouchers[0].Debit, expectedCash_);
    EXPECT_EQ(PostedInvoices(), 20);
    EXPECT_EQ(PostedCash(), expectedCash_);
}

}  // namespace
}  // namespace contado
