#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>

#include "app/fquenvar.h"
#include "controls/panel.h"
#include "core/formatsettings.h"
#include "data/sql/sqlconnection.h"
#include "tests/app/companyprobe.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"
#include "tests/support/scopedenvironment.h"

namespace contado {
namespace {

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";

// The program started with arguments, on a machine whose settings point at a sandbox; boxes of an
// in-process window are recorded, the real program writes them to standard error.
class UnattendedRun : public testing::Test {
  protected:
    void SetUp() override {
        QCoreApplication::setApplicationName("Contabiliza ventas contado");
        sandbox_.PointAtApplicationDirectory();
        sandbox_.WriteApplicationFile("SERVIDORES.cfg", "/srv/otro\n");
    }
    void TearDown() override { delete window_.data(); }

    Tfquenvar* Start(const std::vector<std::string>& commandLine) {
        window_ = new Tfquenvar(commandLine);
        window_->show();
        QApplication::setActiveWindow(window_);
        return window_;
    }
    TChildResult RunProgram(const std::string& company) {
        return RunChild(kProgram, {company_.ServerDir(), "SYSDBA", "masterkey", company});
    }
    // Today's closing adjustments: last day, rate, factor and prefix ("-" for none).
    std::vector<std::vector<std::string>> TodaysAdjustments() {
        return Probe().Rows(
            "select cast(AJCI_FECFIN as varchar(10)), cast(AJCI_PORC as varchar(20)), "
            "cast(AJCI_FACTOR as varchar(20)), coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
            "where AJCI_FECINI = current_date order by AJCI_PORC");
    }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }
    static std::string Today() { return FormatDateTime("yyyy-mm-dd", contado::Today()); }

    // Sales of the last days and planned adjustments around today: for 19, 0.95 without prefix
    // from 40 days back and 0.85 with prefix CA from 7 days back; for 5, 0.9 without prefix; none for 0.
    TTestCompany company_{10};
    std::unique_ptr<TCompanyProbe> probe_;
    TRegistrySandbox sandbox_;
    QPointer<Tfquenvar> window_;
};

TEST_F(UnattendedRun, ThreeArgumentsLeaveTheWindowToTheUser) {
    TMessageBoxRecorder boxes;
    Start({"contado", company_.ServerDir(), "SYSDBA", "masterkey"});
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->Tusua->text(), "");
    EXPECT_EQ(window_->Servidor->currentText(), "/srv/otro");
    EXPECT_FALSE(window_->Tandrel->Connected());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(UnattendedRun, WithoutDisplayAFailedConnectionEndsTheProgramWithStatus2) {
    TMessageBoxRecorder boxes;
    window_ = new Tfquenvar({"contado", "", company_.ServerDir(), "SYSDBA", "", "masterkey", "99"});
    QSignalSpy ending(window_.data(), &Tfquenvar::ProgramEnding);
    window_->show();
    QApplication::setActiveWindow(window_);

    EXPECT_EQ(window_->Servidor->currentText(), QString::fromStdString(company_.ServerDir()))
        << "empty arguments are dropped; a server outside the list is used all the same";
    EXPECT_EQ(window_->Tusua->text(), "SYSDBA");
    EXPECT_EQ(window_->TClave->text(), "masterkey");
    EXPECT_EQ(window_->Cia->text(), "99");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.starts_with("SQL Server Error: "));
    ASSERT_EQ(ending.count(), 1);
    EXPECT_EQ(ending.at(0).at(0).toInt(), esRunFailed);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(UnattendedRun, TheProgramRebuildsTodaysAdjustmentsPostsTodayAndExits0ThenFindsNothingAndExits1) {
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 0, 0.5, 'FV')");
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 19, 0.7, 'FV')");
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date - 1, current_date, 19, 0.7, 'FV')");

    const TChildResult first = RunProgram(company_.CompanyCode());
    EXPECT_EQ(first.ExitCode, esDone) << first.StandardError;
    EXPECT_EQ(first.StandardError.find("Contabiliza ventas contado:"), std::string::npos)
        << first.StandardError;
    EXPECT_EQ(TodaysAdjustments(),
              (std::vector<std::vector<std::string>>{{Today(), "5.0000", "0.9000", "-"},
                                                     {Today(), "19.0000", "0.8500", "CA"}}))
        << "the later planned row wins; a rate without a planned row keeps no row";
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date - 1"), "1");
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = current_date"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA <> current_date"), "0");

    const TChildResult second = RunProgram(company_.CompanyCode());
    EXPECT_EQ(second.ExitCode, esNothingPosted) << second.StandardError;
    EXPECT_NE(second.StandardError.find("Contabiliza ventas contado: No se pudo contabilizar las facturas."),
              std::string::npos)
        << second.StandardError;
    EXPECT_EQ(TodaysAdjustments().size(), 2u);
}

// A comma as decimal separator would make "AJCI_PORC = 2,5" a syntax error; a day-first date
// such as 09/12 a different day.
TEST_F(UnattendedRun, TheRateAndDayOfThePlannedAdjustmentQueryDoNotDependOnRegionalSettings) {
    Probe().Execute("insert into TARIFA_IVA values (2.5, 'Prueba')");
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (0, current_date, current_date, 2.5, 0.7, NULL)");
    const TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DecimalSeparator = ',';
    TMessageBoxRecorder boxes;
    window_ = new Tfquenvar({"contado", company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()});
    QSignalSpy ending(window_.data(), &Tfquenvar::ProgramEnding);
    window_->show();
    QApplication::setActiveWindow(window_);
    FormatSettings() = saved;

    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown().at(0).text;
    ASSERT_EQ(ending.count(), 1);
    EXPECT_EQ(ending.at(0).at(0).toInt(), esDone);
    EXPECT_EQ(TodaysAdjustments(),
              (std::vector<std::vector<std::string>>{{Today(), "2.5000", "0.7000", "-"},
                                                     {Today(), "5.0000", "0.9000", "-"},
                                                     {Today(), "19.0000", "0.8500", "CA"}}));
}

TEST_F(UnattendedRun, AnAdjustmentTheDatabaseRejectsStoresNoneOfTheDayAndThePostingGoesOn) {
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 0, 0.5, NULL)");
    Probe().Execute("alter table AJUSTE_CIERRE add constraint CK_AJUSTE_FACTOR check (AJCI_FACTOR < 0.86)");
    TMessageBoxRecorder boxes;
    window_ = new Tfquenvar({"contado", company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()});
    QSignalSpy ending(window_.data(), &Tfquenvar::ProgramEnding);
    window_->show();
    QApplication::setActiveWindow(window_);

    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].caption, "Error");
    EXPECT_NE(boxes.Shown()[0].text.find("CK_AJUSTE_FACTOR"), std::string::npos) << boxes.Shown()[0].text;
    EXPECT_EQ(TodaysAdjustments(),
              (std::vector<std::vector<std::string>>{{Today(), "0.0000", "0.5000", "-"}}))
        << "rolled back, the deletion too";
    ASSERT_EQ(ending.count(), 1);
    EXPECT_EQ(ending.at(0).at(0).toInt(), esDone);
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = current_date"), "0");
}

TEST_F(UnattendedRun, TheProgramReportsAFailedConnectionOnStandardErrorAndExits2) {
    const TChildResult result = RunProgram("99");
    EXPECT_EQ(result.ExitCode, esRunFailed) << result.StandardError;
    EXPECT_NE(result.StandardError.find("Contabiliza ventas contado: SQL Server Error: "), std::string::npos)
        << result.StandardError;
}

// From cron or ssh there is no display and no platform named: the program picks the minimal
// platform itself (no fonts read) and ends with its status, never with the toolkit's abort. Without the four
// arguments a window nobody could see is refused at once.
TEST_F(UnattendedRun, WithoutADisplayARunEndsWithItsStatusAndAWindowIsRefused) {
    TScopedEnvironment platform("QT_QPA_PLATFORM", std::nullopt);
    TScopedEnvironment display("DISPLAY", std::nullopt);
    TScopedEnvironment wayland("WAYLAND_DISPLAY", std::nullopt);
    EXPECT_EQ(RunProgram(company_.CompanyCode()).ExitCode, esDone);
    EXPECT_EQ(RunProgram(company_.CompanyCode()).ExitCode, esNothingPosted);
    EXPECT_EQ(RunProgram("99").ExitCode, esRunFailed);
    for (const std::vector<std::string>& window : {std::vector<std::string>{"-h"},
                                                   std::vector<std::string>{"--version", "extra"}}) {
        TRunningChild refused(kProgram, window, {});
        EXPECT_EQ(refused.WaitFor(std::chrono::seconds(30)), std::optional<int>(esRunFailed)) << refused.Output();
        EXPECT_NE(refused.Output().find("no hay pantalla (plataforma minimal)"), std::string::npos)
            << refused.Output();
    }
}

// The platform comes from the environment: the toolkit sees none of the program's arguments.
TEST_F(UnattendedRun, OnTheMinimalPlatformTheProgramEndsAsWell) {
    TRunningChild child(kProgram, {company_.ServerDir(), "SYSDBA", "masterkey", "99"},
                        {{"QT_QPA_PLATFORM", "minimal"}});
    EXPECT_EQ(child.WaitFor(std::chrono::seconds(60)), std::optional<int>(esRunFailed)) << child.Output();
    EXPECT_NE(child.Output().find("/datos/99/tandrel.fdb"), std::string::npos) << child.Output();
}

}  // namespace
}  // namespace contado
