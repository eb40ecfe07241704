#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <filesystem>
#include <fstream>

#include "app/fquenvar.h"
#include "core/exceptions.h"
#include "tests/app/companyprobe.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"
#include "tests/support/silentlistener.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";
// Long enough for any run here; a run still going then is taken to wait without end.
constexpr auto kLongestRun = 40s;

using TEnvironment = std::vector<std::pair<std::string, std::string>>;

// Inputs from the command line, the settings and the network that must end in a clear message or a
// sound result, never in a hang or a file outside the places they name.
class HostileInput : public testing::Test {
  protected:
    void SetUp() override { sandbox_.PointAtApplicationDirectory(); }
    void TearDown() override { delete window_.data(); }

    struct TRun {
        std::optional<int> Status;
        std::string Output;
    };
    TRun Run(const std::vector<std::string>& arguments, TEnvironment environment = {}) {
        environment.emplace_back("QT_QPA_PLATFORM", "offscreen");
        TRunningChild child(kProgram, arguments, environment);
        TRun run;
        run.Status = child.WaitFor(kLongestRun);
        run.Output = child.Output();
        return run;
    }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }

    TTestCompany company_{3};
    TRegistrySandbox sandbox_;
    std::unique_ptr<TCompanyProbe> probe_;
    QPointer<Tfquenvar> window_;
};

// The toolkit takes -reverse, -style and the like out of the arguments it is given.
TEST_F(HostileInput, TheArgumentsReachTheProgramExactlyAsGiven) {
    const TRun run = Run({company_.ServerDir(), "SYSDBA", "-reverse", "99"});
    ASSERT_TRUE(run.Status.has_value()) << "the run was not started: the window waits";
    EXPECT_EQ(*run.Status, esRunFailed) << run.Output;
    EXPECT_NE(run.Output.find("/datos/99/tandrel.fdb"), std::string::npos) << run.Output;
}

TEST_F(HostileInput, ACompanyCodeLeadingOutOfTheDataFolderIsRefusedAndNothingIsOpened) {
    const std::filesystem::path elsewhere = std::filesystem::path(company_.ServerDir()) / "otra";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::copy_file(company_.DatabasePath(), elsewhere / "tandrel.fdb");
    for (const std::string company : {"../otra", "..\\otra", ".", ".."}) {
        const TRun run = Run({company_.ServerDir(), "SYSDBA", "masterkey", company});
        ASSERT_TRUE(run.Status.has_value());
        EXPECT_EQ(*run.Status, esRunFailed) << run.Output;
        EXPECT_NE(run.Output.find("El código de compañía \"" + company + "\" no es válido"),
                  std::string::npos)
            << run.Output;
    }
    TCompanyProbe other((elsewhere / "tandrel.fdb").string());
    EXPECT_EQ(other.Scalar("select count(*) from COMPROBANTE"), "0");
}

// A ":" in the company code would make the embedded path a "host:path" and send the client to the
// network to look the host up: refused before anything opens. Run without a network all the same,
// so a lookup could never leave the machine.
TEST_F(HostileInput, ACompanyCodeWithAColonIsRefusedBeforeAnyLookup) {
    if (std::system("unshare -n true 2> /dev/null") != 0) {
        GTEST_SKIP() << "unshare -n is not allowed here";
    }
    for (const std::string company : {"x:y", "servidor.invalid:01"}) {
        TRunningChild child("/usr/bin/unshare", {"-n", kProgram, company_.ServerDir(), "SYSDBA", "masterkey", company},
                            {{"QT_QPA_PLATFORM", "offscreen"}});
        const std::optional<int> status = child.WaitFor(kLongestRun);
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(*status, esRunFailed) << child.Output();
        EXPECT_NE(child.Output().find("El código de compañía \"" + company + "\" no es válido"), std::string::npos)
            << child.Output();
    }
}

// Without an application directory the log line goes to standard error, never to /ERRORES.TXT; a
// directory that cannot be read does not replace the error being handled.
TEST_F(HostileInput, TheErrorHandlerLogsToStandardErrorWithoutADirectory) {
    for (const std::string settings : {"[General]\n", "[General]\nDirectorio=a,b\n"}) {
        sandbox_.WriteSettings(settings);
        TMessageBoxRecorder boxes;
        window_ = new Tfquenvar({"contado"});
        window_->Tusua->setText("OPERADOR");
        EDatabaseError error("SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint");
        TResolverResponse response = rrSkip;
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(window_->ManejarError(nullptr, nullptr, error, ukInsert, response)) << settings;
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_NE(written.find(",OPERADOR,SQL Server Error: violation of PRIMARY"), std::string::npos)
            << written;
        EXPECT_EQ(response, rrAbort);
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_EQ(boxes.Shown().back().caption, "Error");
        EXPECT_TRUE(window_->listaServidores.empty());
        delete window_.data();
    }
}

TEST_F(HostileInput, ThePasswordCanComeFromTheEnvironment) {
    const TRun missing = Run({company_.ServerDir(), "SYSDBA", "-", company_.CompanyCode()});
    ASSERT_TRUE(missing.Status.has_value());
    EXPECT_EQ(*missing.Status, esRunFailed) << missing.Output;
    EXPECT_NE(missing.Output.find("ISC_PASSWORD"), std::string::npos) << missing.Output;
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = current_date"), "0");

    const TRun given =
        Run({company_.ServerDir(), "SYSDBA", "-", company_.CompanyCode()}, {{"ISC_PASSWORD", "masterkey"}});
    ASSERT_TRUE(given.Status.has_value());
    EXPECT_EQ(*given.Status, esDone) << given.Output;
}

// A service passes the password as a credential file (LoadCredential=clave:...), which wins over a
// wrong ISC_PASSWORD; its line end is not part of it.
TEST_F(HostileInput, ThePasswordCanComeFromASystemdCredential) {
    const std::filesystem::path credentials = sandbox_.ApplicationDirectory().parent_path() / "credenciales";
    std::filesystem::create_directories(credentials);
    std::ofstream(credentials / "clave", std::ios::binary) << "masterkey\n";
    const TRun run = Run({company_.ServerDir(), "SYSDBA", "-", company_.CompanyCode()},
                         {{"CREDENTIALS_DIRECTORY", credentials.string()}, {"ISC_PASSWORD", "equivocada"}});
    ASSERT_TRUE(run.Status.has_value());
    EXPECT_EQ(*run.Status, esDone) << run.Output;
}

// A listener of the test's own on the loopback address takes the connection and never answers.
TEST_F(HostileInput, AServerThatNeverAnswersEndsTheRunAfterTheConnectionLimit) {
    sandbox_.WriteSettings("[General]\nDirectorio=" + sandbox_.ApplicationDirectory().string() +
                           "\nEsperaConexion=2\n");
    const TSilentListener listener;
    ASSERT_TRUE(listener.Listening());
    const std::string server = listener.ServerText();

    const TRun run = Run({server, "SYSDBA", "masterkey", "01"});
    ASSERT_TRUE(run.Status.has_value()) << "the run still waits for the server";
    EXPECT_EQ(*run.Status, esRunFailed) << run.Output;
    EXPECT_NE(run.Output.find("Contabiliza ventas contado: El servidor no respondió en 2 s (EsperaConexion): "
                              "SQL Server Error: "),
              std::string::npos)
        << run.Output;
}

TEST_F(HostileInput, ALockHeldLongerThanTheLockLimitEndsTheRun) {
    sandbox_.WriteSettings("[General]\nDirectorio=" + sandbox_.ApplicationDirectory().string() +
                           "\nEsperaBloqueo=2\n");
    Probe().StartTransaction();
    Probe().Execute("update BLOQUEO_CONTABLE set BLCO_ULTIMA = current_timestamp where BLCO_LIBRO = 'LOCAL'");
    const TRun run = Run({company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()});
    Probe().Rollback();
    ASSERT_TRUE(run.Status.has_value()) << "the run still waits for the lock";
    EXPECT_EQ(*run.Status, esRunFailed) << run.Output;
    EXPECT_NE(run.Output.find("no terminó a tiempo"), std::string::npos) << run.Output;
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = current_date"), "0");
}

// A scheduled run and a clerk, or a timer that fired twice: one posts, the other waits for it and
// finds nothing left to post. Neither reports an error.
TEST_F(HostileInput, TwoRunsOfTheSameDayAtOnceEndWithOnePostingAnd0And1) {
    for (int trial = 0; trial < 20; ++trial) {
        Probe().Execute("delete from COMPROBANTE_DETALLE");
        Probe().Execute("delete from COMPROBANTE");
        Probe().Execute("delete from FACTURA_CONTABLE");
        Probe().Execute("delete from CONTABILIZACION");
        const std::vector<std::string> arguments{company_.ServerDir(), "SYSDBA", "masterkey",
                                                 company_.CompanyCode()};
        TRunningChild first(kProgram, arguments, {{"QT_QPA_PLATFORM", "offscreen"}});
        TRunningChild second(kProgram, arguments, {{"QT_QPA_PLATFORM", "offscreen"}});
        const std::optional<int> one = first.WaitFor(kLongestRun);
        const std::optional<int> other = second.WaitFor(kLongestRun);
        ASSERT_TRUE(one && other) << "trial " << trial;
        EXPECT_EQ(std::min(*one, *other), esDone) << "trial " << trial << first.Output() << second.Output();
        EXPECT_EQ(std::max(*one, *other), esNothingPosted)
            << "trial " << trial << first.Output() << second.Output();
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "1") << "trial " << trial;
    }
}

}  // namespace
}  // namespace contado
