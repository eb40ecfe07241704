#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/server/servercompanyfixture.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kStalled = "El servidor no respondió en 3 s (EsperaRespuesta)";

// The server stops answering (SIGSTOP) while an unattended run waits in a call: the run ends with
// status 2 once EsperaRespuesta has passed, naming it, and when the server goes on (SIGCONT) it
// keeps nothing of that run, so the next run posts the day once. Another session holds a row the
// run needs, so that the run is certainly in the middle of its work when the server stops.
class ServerStall : public ServerCompanyTest {
  protected:
    void SetUp() override {
        ServerCompanyTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        holder_ = std::make_unique<TCompanyProbe>(DatabaseText(), password_);
        holder_->StartTransaction();
        WriteLimits("EsperaRespuesta=3\n");
    }
    // The server must run again before any connection to it is closed.
    void TearDown() override {
        ContinueServer();
        holder_.reset();
    }
    void WriteLimits(const std::string& lines) {
        sandbox_.WriteSettings("[General]\nDirectorio=" + sandbox_.ApplicationDirectory().string() + "\n" +
                               lines);
    }
    // runuser, the server's parent, stops itself when its child stops and must go on too, or it
    // would never collect a halted server.
    void ContinueServer() {
        for (const pid_t process : {stopped_, parent_}) {
            if (process > 1) {
                kill(process, SIGCONT);
            }
        }
        stopped_ = 0;
    }
    // Stops the server once the run's statement with these words runs; the run must end with 2
    // and the limit's message, within a minute (far beyond its limit). The server goes on then.
    void RunStoppedAt(const std::vector<std::string>& words) {
        auto child = StartRun();
        ASSERT_TRUE(Probe().AwaitStatement(*child, words)) << child->Output();
        ASSERT_NO_FATAL_FAILURE(StopServer());
        EXPECT_TRUE(child->Running()) << "the run ended before the server stopped";
        const std::optional<int> status = child->WaitFor(60s);
        ContinueServer();
        ASSERT_TRUE(status.has_value()) << "the run waited on the stopped server";
        EXPECT_EQ(*status, 2) << child->Output();
        EXPECT_NE(child->Output().find("Contabiliza ventas contado: SQL Server Error: " + kStalled),
                  std::string::npos)
            << child->Output();
    }
    // The holder lets go; the server drops the cut connection and rolls its transaction back.
    void ReleaseAndAwaitTheCutConnectionsEnd() {
        holder_->Rollback();
        holder_.reset();
        const std::string others =
            "select count(*) from MON$ATTACHMENTS where MON$SYSTEM_FLAG = 0 and "
            "MON$ATTACHMENT_ID <> current_connection";
        for (int tries = 0; tries < 600 && Probe().Scalar(others) != "0"; ++tries) {
            std::this_thread::sleep_for(100ms);
        }
        EXPECT_EQ(Probe().Scalar(others), "0") << "the server kept the cut connection";
        EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "0");
    }
    // With the default limits, a run posts the day and the one after finds nothing left.
    void ExpectTheRerunPostsOnce() {
        WriteLimits("");
        EXPECT_EQ(RunToEnd(), 0) << "the rerun posts";
        EXPECT_EQ(RunToEnd(), 1) << "nothing is left to post";
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "1");
    }

    // Stops the server from under the run waiting in its posting, as RunStoppedAt does.
    void StopServer() {
        std::ifstream(std::filesystem::path(folder_) / "pid") >> stopped_;
        std::string pid, name, state;
        std::ifstream("/proc/" + std::to_string(stopped_) + "/stat") >> pid >> name >> state >> parent_;
        ASSERT_EQ(kill(stopped_, SIGSTOP), 0);
    }

    std::unique_ptr<TCompanyProbe> holder_;
    pid_t stopped_ = 0;
    pid_t parent_ = 0;
};

// Today's invoices are held as posted by an unfinished transaction: the posting procedure has
// taken its book, begun its posting and waits to mark them.
TEST_F(ServerStall, AServerStoppedInTheMiddleOfThePostingEndsTheRunWithinItsLimitAndKeepsNothing) {
    holder_->Execute(
        "insert into CONTABILIZACION (CONT_ID, CONT_LIBRO, CONT_FECHA_INI, CONT_FECHA_FIN) "
        "values (-1, 'LOCAL', current_date, current_date)");
    holder_->Execute(
        "insert into FACTURA_CONTABLE select FACT_ID, 'LOCAL', -1 from FACTURA where FACT_FECHA = current_date");
    ASSERT_NO_FATAL_FAILURE(RunStoppedAt({"contado_ralvek"}));
    ReleaseAndAwaitTheCutConnectionsEnd();
    EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE"), "0");
    ExpectTheRerunPostsOnce();
}

// The run rebuilds today's closing adjustments: it has deleted today's row of rate 5 and waits to
// insert the one of rate 19, which an unfinished transaction inserted first. The refused change
// is logged as ever.
TEST_F(ServerStall, AServerStoppedInTheMiddleOfStoringTodaysAdjustmentsEndsTheRunAndStoresNone) {
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 5, 0.7, 'FV')");
    const std::string today =
        "select AJCI_PORC || ':' || AJCI_FACTOR || ':' || coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
        "where AJCI_FECINI = current_date order by AJCI_PORC";
    const auto before = Probe().Rows(today);
    holder_->Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 19, 0.6, 'FV')");
    ASSERT_NO_FATAL_FAILURE(RunStoppedAt({"insert", "AJUSTE_CIERRE"}));
    std::ifstream log(sandbox_.ApplicationDirectory() / "ERRORES.TXT", std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(log), {}).find(kStalled), std::string::npos);

    ReleaseAndAwaitTheCutConnectionsEnd();
    EXPECT_EQ(Probe().Rows(today), before) << "nothing of the rebuild is stored";
    ExpectTheRerunPostsOnce();
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date and "
                             "AJCI_PORC = 19 and AJCI_FACTOR = 0.85 and AJCI_PREFNO = 'CA'"),
              "1");
}

// A scheduler's stop in the middle of a stall, at moments from at once to most of a second in:
// every try ends with 143 within seconds, never with a crash while the client is being stopped.
TEST_F(ServerStall, AStopDuringAStallEndsTheRunWith143EveryTime) {
    WriteLimits("EsperaRespuesta=600\n");
    holder_->Execute(
        "insert into CONTABILIZACION (CONT_ID, CONT_LIBRO, CONT_FECHA_INI, CONT_FECHA_FIN) "
        "values (-1, 'LOCAL', current_date, current_date)");
    holder_->Execute(
        "insert into FACTURA_CONTABLE select FACT_ID, 'LOCAL', -1 from FACTURA where FACT_FECHA = current_date");
    for (int trial = 0; trial < 50; ++trial) {
        auto child = StartRun();
        ASSERT_TRUE(Probe().AwaitStatement(*child, {"contado_ralvek"})) << child->Output();
        ASSERT_NO_FATAL_FAILURE(StopServer());
        std::this_thread::sleep_for(std::chrono::milliseconds(trial % 5 * 200));
        child->Signal(SIGTERM);
        const std::optional<int> status = child->WaitFor(8s);
        ContinueServer();
        ASSERT_TRUE(status.has_value()) << "trial " << trial << ": SIGTERM left the run waiting";
        EXPECT_EQ(*status, 128 + SIGTERM) << "trial " << trial << child->Output();
    }
    ReleaseAndAwaitTheCutConnectionsEnd();
}

}  // namespace
}  // namespace contado
