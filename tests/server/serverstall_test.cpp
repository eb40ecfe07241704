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
    TCompanyProbe& Holder() {
        if (!holder_) {
            holder_ = std::make_unique<TCompanyProbe>(DatabaseText(), password_);
        }
        return *holder_;
    }
    // runuser, the server's parent, stops itself when it sees its child stop, and must go on too:
    // stopped, it would never collect the server once that is halted.
    void StopServer() {
        std::ifstream(std::filesystem::path(folder_) / "pid") >> stopped_;
        ASSERT_GT(stopped_, 0);
        std::ifstream stat("/proc/" + std::to_string(stopped_) + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state >> parent_;
        ASSERT_GT(parent_, 1);
        ASSERT_EQ(kill(stopped_, SIGSTOP), 0);
    }
    void ContinueServer() {
        if (stopped_ > 0) {
            kill(stopped_, SIGCONT);
            kill(parent_, SIGCONT);
            stopped_ = 0;
        }
    }
    // Stops the server as soon as the run's statement with these words is running, and waits for
    // the run to end, at most a minute (far beyond its limit); the server goes on afterwards.
    std::optional<int> RunStoppedAt(const std::vector<std::string>& words, std::string& output) {
        auto child = StartRun();
        if (!Probe().AwaitStatement(*child, words)) {
            ADD_FAILURE() << "the run did not reach the held row: " << child->Output();
            return std::nullopt;
        }
        StopServer();
        const bool stoppedWhileRunning = child->Running();
        const std::optional<int> status = child->WaitFor(60s);
        ContinueServer();
        output = child->Output();
        EXPECT_TRUE(stoppedWhileRunning) << "the run ended before the server stopped: " << output;
        EXPECT_TRUE(status.has_value()) << "the run waited on the stopped server";
        return status;
    }
    // The holder lets go, and the server drops the cut connection and rolls back its transaction
    // (bounded wait: it must notice the connection is gone).
    void ReleaseAndAwaitTheCutConnectionsEnd() {
        Holder().Rollback();
        holder_.reset();
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        const std::string others =
            "select count(*) from MON$ATTACHMENTS where MON$SYSTEM_FLAG = 0 and "
            "MON$ATTACHMENT_ID <> current_connection";
        while (Probe().Scalar(others) != "0" && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(100ms);
        }
        EXPECT_EQ(Probe().Scalar(others), "0") << "the server kept the cut connection";
    }
    // With the default limits, a run posts the day and the one after finds nothing left.
    void ExpectTheRerunPostsOnce() {
        WriteLimits("");
        EXPECT_EQ(RunToEnd(), 0) << "the rerun posts";
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "1");
        EXPECT_EQ(RunToEnd(), 1) << "nothing is left to post";
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "1");
        EXPECT_EQ(Probe().Scalar("select count(*) from (select CODE_COMPROBANTE from COMPROBANTE_DETALLE "
                                 "group by CODE_COMPROBANTE having sum(CODE_DEBITO) <> sum(CODE_CREDITO))"),
                  "0");
    }
    std::string ErrorLog() const {
        std::ifstream file(sandbox_.ApplicationDirectory() / "ERRORES.TXT", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::unique_ptr<TCompanyProbe> holder_;
    pid_t stopped_ = 0;
    pid_t parent_ = 0;
};

// Today's invoices are held as posted by an unfinished transaction: the posting procedure has
// taken its book, begun its posting and waits to mark them.
TEST_F(ServerStall, AServerStoppedInTheMiddleOfThePostingEndsTheRunWithinItsLimitAndKeepsNothing) {
    Holder().StartTransaction();
    Holder().Execute(
        "insert into CONTABILIZACION (CONT_ID, CONT_LIBRO, CONT_FECHA_INI, CONT_FECHA_FIN) "
        "values (-1, 'LOCAL', current_date, current_date)");
    Holder().Execute(
        "insert into FACTURA_CONTABLE select FACT_ID, 'LOCAL', -1 from FACTURA where FACT_FECHA = current_date");

    std::string output;
    const std::optional<int> status = RunStoppedAt({"contado_ralvek"}, output);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 2) << output;
    EXPECT_NE(output.find("Contabiliza ventas contado: SQL Server Error: " + kStalled), std::string::npos)
        << output;

    ReleaseAndAwaitTheCutConnectionsEnd();
    EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), "0");
    ExpectTheRerunPostsOnce();
}

// The run rebuilds today's closing adjustments: it has deleted today's row of rate 5 and waits to
// insert the one of rate 19, which an unfinished transaction inserted first.
TEST_F(ServerStall, AServerStoppedInTheMiddleOfStoringTodaysAdjustmentsEndsTheRunAndStoresNone) {
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 5, 0.7, 'FV')");
    const std::string today =
        "select AJCI_PORC || ':' || AJCI_FACTOR || ':' || coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
        "where AJCI_FECINI = current_date order by AJCI_PORC";
    const auto before = Probe().Rows(today);
    Holder().StartTransaction();
    Holder().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 19, 0.6, 'FV')");

    std::string output;
    const std::optional<int> status = RunStoppedAt({"insert", "AJUSTE_CIERRE"}, output);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 2) << output;
    EXPECT_NE(output.find("Contabiliza ventas contado: SQL Server Error: " + kStalled), std::string::npos)
        << output;
    EXPECT_NE(ErrorLog().find(kStalled), std::string::npos) << "the refused change is logged: " << ErrorLog();

    ReleaseAndAwaitTheCutConnectionsEnd();
    EXPECT_EQ(Probe().Rows(today), before) << "nothing of the rebuild is stored";
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), "0");
    ExpectTheRerunPostsOnce();
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date and "
                             "AJCI_PORC = 19 and AJCI_FACTOR = 0.85 and AJCI_PREFNO = 'CA'"),
              "1")
        << "the rerun rebuilt today's adjustments";
}

}  // namespace
}  // namespace contado
