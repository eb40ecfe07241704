#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>

#include "app/fquenvar.h"
#include "controls/panel.h"
#include "data/sqlconnection.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"

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

    TTestCompany company_;
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

TEST_F(UnattendedRun, TheProgramReportsAFailedConnectionOnStandardErrorAndExits2) {
    const TChildResult result = RunProgram("99");
    EXPECT_EQ(result.ExitCode, 2) << result.StandardError;
    EXPECT_NE(result.StandardError.find("Contabiliza ventas contado: SQL Server Error: "), std::string::npos)
        << result.StandardError;
}

}  // namespace
}  // namespace contado
