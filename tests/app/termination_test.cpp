#include <gtest/gtest.h>

#include <pthread.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/app/companyprobe.h"
#include "tests/support/companydatabase.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"
#include "tests/support/silentlistener.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";
constexpr auto kPromptEnd = 5s;

// The real program on the offscreen platform, told to end by a scheduler while it works on the
// company database: it ends within 5 s with 128 + the signal, and the posting is stored whole or not
// at all. Without its own routing the database client's handlers swallow SIGINT and SIGTERM.
class Termination : public testing::Test {
  protected:
    void SetUp() override { sandbox_.PointAtApplicationDirectory(); }

    std::unique_ptr<TRunningChild> StartRun() {
        return std::make_unique<TRunningChild>(
            kProgram,
            std::vector<std::string>{company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()},
            std::vector<std::pair<std::string, std::string>>{{"QT_QPA_PLATFORM", "offscreen"}});
    }
    bool PostingRuns(TRunningChild& child) { return Probe().AwaitStatement(child, {"contado_ralvek"}); }
    static std::string CommandLine(const TRunningChild& child) {
        std::ifstream file("/proc/" + std::to_string(child.Pid()) + "/cmdline", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }
    std::string PostedInvoices() { return Probe().Scalar("select count(*) from FACTURA_CONTABLE"); }
    std::string Vouchers() { return Probe().Scalar("select count(*) from COMPROBANTE"); }

    TTestCompany company_;
    TRegistrySandbox sandbox_;
    std::unique_ptr<TCompanyProbe> probe_;
};

TEST_F(Termination, ARunWaitingOnAnotherSessionsLockEndsOnEachSignalAndPostsNothing) {
    Probe().Execute("insert into FACTURA values (0, 'FV', 1, '01', current_date, '222222222222')");
    Probe().Execute(
        "insert into FACTURA_DETALLE select FACT_ID, 1, 19, 100, 19 from FACTURA where FACT_NUMERO = 1");
    // Monitoring tables keep what they saw for the whole transaction: the lock has its own session.
    TCompanyProbe locker(company_.DatabasePath());
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        locker.StartTransaction();
        locker.Execute(
            "update BLOQUEO_CONTABLE set BLCO_ULTIMA = current_timestamp where BLCO_LIBRO = 'LOCAL'");
        auto child = StartRun();
        ASSERT_TRUE(PostingRuns(*child)) << child->Output();
        EXPECT_EQ(CommandLine(*child).find("masterkey"), std::string::npos) << "other users read it in ps";
        child->Signal(signalNumber);
        const std::optional<int> status = child->WaitFor(kPromptEnd);
        locker.Rollback();
        ASSERT_TRUE(status.has_value()) << "signal " << signalNumber << " left the run waiting";
        EXPECT_EQ(*status, 128 + signalNumber) << child->Output();
        EXPECT_EQ(PostedInvoices(), "0");
    }
}

TEST_F(Termination, ARunMidwayThroughADayOf40000InvoicesEndsOnSigtermWithTheWholePostingOrNone) {
    Probe().Execute(
        "execute block as declare n integer = 1; declare f integer; begin "
        "while (n <= 40000) do begin "
        "insert into FACTURA (FACT_ID, FACT_PREFIJO, FACT_NUMERO, FACT_PUNTO_VENTA, FACT_FECHA, FACT_NIT) "
        "values (0, 'FV', :n, '01', current_date, '222222222222') returning FACT_ID into :f; "
        "insert into FACTURA_DETALLE values (:f, 1, iif(mod(:n, 2) = 0, 19, 5), 100 + mod(:n, 37), 7); "
        "n = n + 1; end end");
    auto child = StartRun();
    ASSERT_TRUE(PostingRuns(*child)) << child->Output();
    child->Signal(SIGTERM);
    const std::optional<int> status = child->WaitFor(kPromptEnd);
    ASSERT_TRUE(status.has_value()) << "SIGTERM left the posting running";
    EXPECT_EQ(*status, 128 + SIGTERM) << child->Output();
    const std::string posted = PostedInvoices();
    EXPECT_TRUE(posted == "0" || posted == "40000") << posted;
    EXPECT_EQ(Vouchers(), posted == "0" ? "0" : "1");
}

// A connect to a server that takes the connection and never answers, with a connection limit of a
// minute: each stop ends the run within seconds, whatever the client library is doing.
TEST_F(Termination, AStopDuringAConnectToASilentServerEndsTheRunAtOnce) {
    sandbox_.WriteSettings("[General]\nDirectorio=" + sandbox_.ApplicationDirectory().string() +
                           "\nEsperaConexion=60\n");
    const TSilentListener listener;
    ASSERT_TRUE(listener.Listening());
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        TRunningChild child(kProgram, {listener.ServerText(), "SYSDBA", "masterkey", "01"},
                            {{"QT_QPA_PLATFORM", "offscreen"}});
        std::this_thread::sleep_for(3s);
        child.Signal(signalNumber);
        const std::optional<int> status = child.WaitFor(kPromptEnd);
        ASSERT_TRUE(status.has_value()) << "signal " << signalNumber << " left the connect waiting";
        EXPECT_EQ(*status, 128 + signalNumber) << child.Output();
    }
}

// A stop that is already waiting when the program starts (here held blocked across the start, as a
// careless parent may leave it) is heard as soon as the program routes the signals: nothing is
// opened, stored or posted after it, and the company is left row for row as it was.
TEST_F(Termination, AStopBeforeTheConnectLeavesTheCompanyAsItWas) {
    const std::string adjustments = "select count(*) || '/' || coalesce(max(AJCI_ID), 0) from AJUSTE_CIERRE";
    const std::string before = Probe().Scalar(adjustments) + "/" + Vouchers() + "/" + PostedInvoices();
    probe_.reset();
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigset_t saved;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &stop, &saved), 0);
    auto child = StartRun();
    child->Signal(SIGTERM);
    ASSERT_EQ(pthread_sigmask(SIG_SETMASK, &saved, nullptr), 0);
    const std::optional<int> status = child->WaitFor(kPromptEnd * 4);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 128 + SIGTERM) << child->Output();
    EXPECT_EQ(Probe().Scalar(adjustments) + "/" + Vouchers() + "/" + PostedInvoices(), before);
}

}  // namespace
}  // namespace contado
