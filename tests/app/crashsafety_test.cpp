#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "tests/app/companyprobe.h"
#include "tests/support/companydatabase.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";

// The real unattended run killed with SIGKILL (no handler, no rollback by the program) at several
// moments of a day of 40,000 invoices: the database alone must keep the ledger whole.
class CrashSafety : public testing::Test {
  protected:
    void SetUp() override {
        sandbox_.PointAtApplicationDirectory();
        // Today's old adjustments, and planned ones that give new ones for the same rates.
        Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 5, 0.5, 'FV')");
        Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 19, 0.7, 'FV')");
        Probe().Execute(
            "insert into AJUSTE_CIERRE_AUTO values (0, current_date - 5, current_date + 5, 5, 0.9, null)");
        Probe().Execute(
            "insert into AJUSTE_CIERRE_AUTO values (0, current_date - 5, current_date + 5, 19, 0.85, 'FV')");
        Probe().Execute(
            "execute block as declare n integer = 1; declare f integer; begin "
            "while (n <= 40000) do begin "
            "insert into FACTURA (FACT_ID, FACT_PREFIJO, FACT_NUMERO, FACT_PUNTO_VENTA, FACT_FECHA, "
            "FACT_NIT) "
            "values (0, 'FV', :n, '01', current_date, '222222222222') returning FACT_ID into :f; "
            "insert into FACTURA_DETALLE values (:f, 1, iif(mod(:n, 2) = 0, 19, 5), 100 + mod(:n, 37), 7); "
            "n = n + 1; end end");
        probe_.reset();
    }

    std::unique_ptr<TRunningChild> StartRun() {
        return std::make_unique<TRunningChild>(
            kProgram,
            std::vector<std::string>{company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()},
            std::vector<std::pair<std::string, std::string>>{{"QT_QPA_PLATFORM", "offscreen"}});
    }
    // Waits until a statement holding both words runs (or waits on a lock) in another attachment.
    bool StatementRuns(TRunningChild& child, const std::string& word, const std::string& other) {
        TCompanyProbe monitor(company_.DatabasePath());
        return monitor.AwaitStatement(child, {word, other});
    }
    bool PostingRuns(TRunningChild& child) { return StatementRuns(child, "select", "contado_ralvek"); }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }
    // Every voucher has lines and balances, every voucher's posting marked invoices and every
    // marked invoice has its voucher; the posting is all of the day or none of it; the day's
    // adjustments are the old ones or the new ones.
    void ExpectWholeLedger(const std::string& moment) {
        SCOPED_TRACE(moment);
        EXPECT_EQ(
            Probe().Scalar("select count(*) from COMPROBANTE c where not exists "
                           "(select 1 from COMPROBANTE_DETALLE d where d.CODE_COMPROBANTE = c.COMP_ID)"),
            "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from (select CODE_COMPROBANTE from COMPROBANTE_DETALLE "
                                 "group by CODE_COMPROBANTE having sum(CODE_DEBITO) <> sum(CODE_CREDITO))"),
                  "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE c where not exists (select 1 from "
                                 "FACTURA_CONTABLE f where f.FACO_CONTABILIZACION = c.COMP_CONTABILIZACION)"),
                  "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE f where not exists (select 1 from "
                                 "COMPROBANTE c where c.COMP_CONTABILIZACION = f.FACO_CONTABILIZACION)"),
                  "0");
        const std::string posted = Probe().Scalar("select count(*) from FACTURA_CONTABLE");
        EXPECT_TRUE(posted == "0" || posted == "40000") << posted;
        const std::string adjustments = Adjustments();
        EXPECT_TRUE(adjustments == kOldAdjustments || adjustments == kNewAdjustments) << adjustments;
    }
    std::string Adjustments() {
        std::string text;
        for (const auto& row :
             Probe().Rows("select cast(AJCI_PORC as varchar(20)) || ':' || "
                          "cast(AJCI_FACTOR as varchar(20)) || ':' || coalesce(AJCI_PREFNO, '-') "
                          "from AJUSTE_CIERRE where AJCI_FECINI = current_date order by AJCI_PORC")) {
            text += row[0] + " ";
        }
        return text;
    }

    static constexpr const char* kOldAdjustments = "5.0000:0.5000:FV 19.0000:0.7000:FV ";
    static constexpr const char* kNewAdjustments = "5.0000:0.9000:- 19.0000:0.8500:FV ";

    TTestCompany company_;
    TRegistrySandbox sandbox_;
    std::unique_ptr<TCompanyProbe> probe_;
};

TEST_F(CrashSafety, KilledAtAnyMomentOfARunTheLedgerStaysWholeAndARerunPostsTheRestOnce) {
    // In the middle of storing the day's adjustments: another session holds one of the old rows, so
    // the apply has begun and waits on it when the program is killed.
    {
        Probe().StartTransaction();
        Probe().Execute("update AJUSTE_CIERRE set AJCI_FACTOR = AJCI_FACTOR where AJCI_PORC = 19");
        auto child = StartRun();
        ASSERT_TRUE(StatementRuns(*child, "delete", "AJUSTE_CIERRE")) << child->Output();
        child->Signal(SIGKILL);
        ASSERT_TRUE(child->WaitFor(10s).has_value());
        Probe().Rollback();
        probe_.reset();
        ExpectWholeLedger("adjustment apply");
        EXPECT_EQ(Adjustments(), kOldAdjustments);
        EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE"), "0");
    }
    // Moments: while starting and storing the adjustments, as the posting starts, and into it.
    const std::vector<std::pair<std::string, std::chrono::milliseconds>> moments = {
        {"start + 150 ms", 150ms},
        {"start + 600 ms", 600ms},
        {"posting + 0 ms", 0ms},
        {"posting + 300 ms", 300ms},
        {"posting + 1500 ms", 1500ms}};
    for (const auto& [name, delay] : moments) {
        auto child = StartRun();
        if (name.starts_with("posting")) {
            ASSERT_TRUE(PostingRuns(*child)) << name << child->Output();
        }
        // A process killed while it signals another attachment of the same embedded database (the
        // engine does that in shared memory, with no recovery of a dead signaller) can leave that
        // attachment waiting for ever inside the engine, so no probe is attached at the kill.
        probe_.reset();
        std::this_thread::sleep_for(delay);
        child->Signal(SIGKILL);
        ASSERT_TRUE(child->WaitFor(10s).has_value()) << name;
        ExpectWholeLedger(name);
        if (Probe().Scalar("select count(*) from FACTURA_CONTABLE") != "0") {
            break;
        }
    }
    const bool postedBefore = Probe().Scalar("select count(*) from FACTURA_CONTABLE") == "40000";
    probe_.reset();
    auto rerun = StartRun();
    const std::optional<int> status = rerun->WaitFor(120s);
    ASSERT_TRUE(status.has_value()) << "the rerun did not end";
    EXPECT_EQ(*status, postedBefore ? 1 : 0) << rerun->Output();
    ExpectWholeLedger("after the rerun");
    EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE"), "40000");
    EXPECT_EQ(Adjustments(), kNewAdjustments);

    const std::string vouchers = Probe().Scalar("select count(*) from COMPROBANTE");
    probe_.reset();
    auto last = StartRun();
    ASSERT_EQ(last->WaitFor(120s), std::optional<int>(1)) << "nothing is left to post" << last->Output();
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), vouchers);
}

}  // namespace
}  // namespace contado
