#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QtTest/QTest>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/fquenvar.h"
#include "controls/captionpanel.h"
#include "data/client/clientdataset.h"
#include "data/fields/fmtbcdfield.h"
#include "data/sql/sqlconnection.h"
#include "tests/server/servercompanyfixture.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/runningchild.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

// The server stops while the program works: the error is shown (and, for the adjustment tables,
// logged), the database keeps nothing of the unfinished work, and after a restart the next run works.
class ServerStop : public ServerCompanyTest {
  protected:
    void TearDown() override { delete window_.data(); }

    bool PostingRuns(TRunningChild& child) { return Probe().AwaitStatement(child, {"contado_ralvek"}); }
    std::string PlannedFactors() {
        std::string text;
        for (const auto& row : Probe().Rows("select AJCI_ID || ':' || cast(AJCI_FACTOR as varchar(20)) "
                                            "from AJUSTE_CIERRE_AUTO order by AJCI_ID")) {
            text += row[0] + " ";
        }
        return text;
    }
    std::string ErrorLog() const {
        std::ifstream file(sandbox_.ApplicationDirectory() / "ERRORES.TXT", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    QPointer<Tfquenvar> window_;
};

TEST_F(ServerStop, InTheMiddleOfAPostingTheErrorIsShownNothingIsStoredAndARerunAfterTheRestartPosts) {
    Probe().Execute(
        "execute block as declare n integer = 1; declare f integer; begin "
        "while (n <= 40000) do begin "
        "insert into FACTURA (FACT_ID, FACT_PREFIJO, FACT_NUMERO, FACT_PUNTO_VENTA, FACT_FECHA, FACT_NIT) "
        "values (0, 'FV', 100000 + :n, '01', current_date, '222222222222') returning FACT_ID into :f; "
        "insert into FACTURA_DETALLE values (:f, 1, iif(mod(:n, 2) = 0, 19, 5), 100 + mod(:n, 37), 7); "
        "n = n + 1; end end");
    auto child = StartRun();
    ASSERT_TRUE(PostingRuns(*child)) << child->Output();
    HaltServer();
    const std::optional<int> status = child->WaitFor(60s);
    ASSERT_TRUE(status.has_value()) << "the run waited on the stopped server";
    RestartServer();
    const std::string posted = Probe().Scalar("select count(*) from FACTURA_CONTABLE");
    if (*status == 0) {
        EXPECT_NE(posted, "0") << "the posting was committed just before the halt";
    } else {
        EXPECT_EQ(*status, 2) << child->Output();
        EXPECT_NE(child->Output().find("Contabiliza ventas contado: "), std::string::npos)
            << "the error is shown: " << child->Output();
        EXPECT_EQ(posted, "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), "0");
        EXPECT_EQ(Probe().Scalar("select count(*) from CONTABILIZACION"), "0");
        probe_.reset();
        EXPECT_EQ(RunToEnd(), 0) << "the rerun after the restart posts";
    }
    EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE where FACO_FACTURA in (select FACT_ID "
                             "from FACTURA where FACT_NUMERO > 100000)"),
              "40000");
    EXPECT_EQ(Probe().Scalar("select count(*) from (select CODE_COMPROBANTE from COMPROBANTE_DETALLE "
                             "group by CODE_COMPROBANTE having sum(CODE_DEBITO) <> sum(CODE_CREDITO))"),
              "0");
    probe_.reset();
    EXPECT_EQ(RunToEnd(), 1) << "nothing is left to post";
}

TEST_F(ServerStop, InTheMiddleOfApplyingThePlannedEditorTheErrorIsShownAndLoggedAndNothingIsStored) {
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (901, '2001-03-01', '2001-03-31', 7, 1, NULL)");
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (902, '2001-04-01', '2001-04-30', 7, 1, NULL)");
    const std::string before = PlannedFactors();

    TMessageBoxRecorder boxes;
    sandbox_.WriteApplicationFile("SERVIDORES.cfg", ServerText() + "\n");
    window_ = new Tfquenvar;
    window_->show();
    QApplication::setActiveWindow(window_);
    ASSERT_EQ(window_->Servidor->currentText().toStdString(), ServerText());
    window_->Tusua->setText("SYSDBA");
    window_->TClave->setText(QString::fromStdString(password_));
    window_->Cia->setText(QString::fromStdString(company_.CompanyCode()));
    window_->Cia->setFocus();
    QTest::keyClick(window_->Cia, Qt::Key_Return);
    ASSERT_TRUE(window_->Tandrel->Connected()) << (boxes.Shown().empty() ? "" : boxes.Shown()[0].text);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    ASSERT_TRUE(window_->CaptionPanel2->isVisible());
    for (const int id : {901, 902}) {
        ASSERT_TRUE(window_->CAjusteAu->Locate("AJCI_ID", {TVariant(id)}, {}));
        window_->CAjusteAu->Edit();
        window_->CAjusteAuAJCI_FACTOR->SetAsCurrency(TCurrency::FromRaw(5000));
        window_->CAjusteAu->Post();
    }
    // Another session holds row 902, so the apply stores 901 and then waits on 902: the server is
    // halted right then, in the middle of the apply.
    Probe().StartTransaction();
    Probe().Execute("update AJUSTE_CIERRE_AUTO set AJCI_FACTOR = AJCI_FACTOR where AJCI_ID = 902");
    std::thread halt = HaltServerWhenRunning("AJUSTE_CIERRE_AUTO");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    halt.join();
    ASSERT_EQ(haltStatus_, 0) << "the apply did not reach the held row";

    ASSERT_FALSE(boxes.Shown().empty()) << "the error is shown";
    EXPECT_EQ(boxes.Shown()[0].type, mtError);
    EXPECT_FALSE(ErrorLog().empty()) << "the error is logged";

    RestartServer();
    EXPECT_EQ(PlannedFactors(), before) << "nothing of the apply is stored";
    delete window_.data();
    probe_.reset();
    EXPECT_EQ(RunToEnd(), 0) << "the next run after the restart posts";
}

}  // namespace
}  // namespace contado
