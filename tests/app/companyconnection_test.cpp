#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QtTest/QTest>
#include <filesystem>

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "data/sql/sqlconnection.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"

namespace contado {
namespace {

// The real window on a machine whose server list names a fresh company database's server folder.
class CompanyConnection : public testing::Test {
  protected:
    void SetUp() override {
        QCoreApplication::setApplicationName("Contabiliza ventas contado");
        sandbox_.PointAtApplicationDirectory();
        sandbox_.WriteApplicationFile("SERVIDORES.cfg", company_.ServerDir() + "\n");
        window_ = new Tfquenvar;
        window_->show();
        QApplication::setActiveWindow(window_);
    }
    void TearDown() override { delete window_.data(); }

    // Types the texts into the fields as the clerk does, each one followed by Enter.
    void TypeLogin(const QString& user, const QString& password, const QString& company) {
        window_->Tusua->setFocus();
        for (const QString& text : {user, password, company}) {
            QWidget* field = QApplication::focusWidget();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
        }
    }

    TTestCompany company_;
    TRegistrySandbox sandbox_;
    TMessageBoxRecorder boxes_;
    QPointer<Tfquenvar> window_;
};

constexpr TDateTime kStartTimeOfDay = 0.280825;

TEST_F(CompanyConnection, EnterInTheCompanyFieldConnectsAndResetsTheRangeToToday) {
    QStringList panelDuringConnect;
    window_->Tandrel->BeforeConnect = [&](TComponent*) {
        panelDuringConnect << (window_->Panel5->isVisible() ? "shown" : "hidden")
                           << window_->Panel5->Caption();
    };
    TypeLogin("SYSDBA", "masterkey", "01");

    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(window_->Tandrel->Connected());
    EXPECT_EQ(panelDuringConnect, (QStringList{"shown", "Conectando a la base de datos 01 ..."}));
    EXPECT_FALSE(window_->Panel5->isVisible());
    EXPECT_EQ(window_->Tandrel->Params().Lines(),
              (std::vector<std::string>{
                  "DriverName=Interbase", "BlobSize=-1", "CommitRetain=False",
                  "Database=" + company_.DatabasePath(), "ErrorResourceFile=", "LocaleCode=0000",
                  "password=masterkey", "RoleName=RoleName", "ServerCharSet=", "SQLDialect=3",
                  "Interbase TransIsolation=ReadCommited", "User_Name=SYSDBA", "WaitOnLocks=True"}));
    for (const TDateTimePicker* picker : {window_->EFecIni, window_->EFecFin}) {
        EXPECT_DOUBLE_EQ(DateOf(picker->DateTime()), Today());
        EXPECT_NEAR(TimeOf(picker->DateTime()), kStartTimeOfDay, 1e-9) << "the time of day is kept";
    }
    EXPECT_TRUE(window_->EFecIni->hasFocus());
    EXPECT_TRUE(window_->SpeedButton3->isEnabled());
}

TEST_F(CompanyConnection, EveryExitReconnects) {
    int connects = 0;
    int disconnects = 0;
    window_->Tandrel->AfterConnect = [&](TComponent*) { ++connects; };
    window_->Tandrel->AfterDisconnect = [&](TComponent*) { ++disconnects; };
    TypeLogin("SYSDBA", "masterkey", "01");
    window_->Cia->setFocus();
    QTest::keyClick(window_->Cia, Qt::Key_Return);
    EXPECT_EQ(connects, 2);
    EXPECT_EQ(disconnects, 1);
    EXPECT_TRUE(window_->Tandrel->Connected());
}

TEST_F(CompanyConnection, AnEmptyFieldLeavesEverythingAsItWas) {
    for (const auto& [user, password, company] :
         {std::tuple("SYSDBA", "", "01"), std::tuple("", "masterkey", "01"),
          std::tuple("SYSDBA", "masterkey", "")}) {
        window_->Tusua->setText(user);
        window_->TClave->setText(password);
        window_->Cia->setFocus();
        window_->Cia->setText(company);
        QTest::keyClick(window_->Cia, Qt::Key_Return);
        EXPECT_FALSE(window_->Tandrel->Connected());
        EXPECT_FALSE(window_->Panel5->isVisible());
        EXPECT_FALSE(window_->SpeedButton3->isEnabled());
        EXPECT_DOUBLE_EQ(window_->EFecIni->DateTime(), 37641.280825);
        EXPECT_EQ(window_->Tandrel->Params().Value("Database"), "/opt/tandrelerp2017/sop/tandrel.fdb");
    }
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(CompanyConnection, AFailedConnectShowsTheRawMessageAndLeavesThePanelShowing) {
    TypeLogin("SYSDBA", "masterkey", "99");

    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_TRUE(boxes_.Shown()[0].text.starts_with("SQL Server Error: ")) << boxes_.Shown()[0].text;
    EXPECT_NE(boxes_.Shown()[0].text.find("/datos/99/tandrel.fdb"), std::string::npos);
    EXPECT_FALSE(window_->Tandrel->Connected());
    EXPECT_TRUE(window_->Panel5->isVisible());
    EXPECT_EQ(window_->Panel5->Caption(), "Conectando a la base de datos 99 ...");
    EXPECT_FALSE(window_->SpeedButton3->isEnabled());
    EXPECT_DOUBLE_EQ(window_->EFecIni->DateTime(), 37641.280825);
    EXPECT_FALSE(std::filesystem::exists(sandbox_.ApplicationDirectory() / "ERRORES.TXT")) << "not logged";

    window_->Cia->setFocus();
    window_->Cia->setText("01");
    QTest::keyClick(window_->Cia, Qt::Key_Return);
    EXPECT_TRUE(window_->Tandrel->Connected());
    EXPECT_FALSE(window_->Panel5->isVisible());
    EXPECT_TRUE(window_->SpeedButton3->isEnabled());
}

TEST_F(CompanyConnection, AFailureAfterAConnectionKeepsTheButtonEnabled) {
    TypeLogin("SYSDBA", "masterkey", "01");
    window_->Cia->setFocus();
    window_->Cia->setText("99");
    QTest::keyClick(window_->Cia, Qt::Key_Return);
    EXPECT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_FALSE(window_->Tandrel->Connected());
    EXPECT_TRUE(window_->SpeedButton3->isEnabled());
    EXPECT_TRUE(window_->Panel5->isVisible());
}

}  // namespace
}  // namespace contado
