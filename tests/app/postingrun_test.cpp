#include <QCheckBox>

#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/fields/fmtbcdfield.h"
#include "tests/app/companywindowfixture.h"

namespace contado {
namespace {

using PostingRun = CompanyWindowTest;

std::string SqlDay(TDateTime day) {
    return SqlDateText(day);
}

TEST_F(PostingRun, F2PostsTheRangeWithoutAMessageAndEndsTheProgram) {
    OpenConnected();
    Press(Qt::Key_F2);
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(ExitStatus(), esDone);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_LIBRO = 'LOCAL' and COMP_FECHA = " +
                             SqlDay(Today())),
              "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_LIBRO = 'NIIF'"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA <> " + SqlDay(Today())), "0");
}

TEST_F(PostingRun, ASecondRunPostsNothingAndSaysSoBeforeEnding) {
    OpenConnected();
    Press(Qt::Key_F2);
    ASSERT_EQ(ExitStatus(), esDone);
    delete window_.data();

    OpenConnected();
    Press(Qt::Key_F2);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtCustom);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(boxes_.Shown()[0].text, "No se pudo contabilizar las facturas.");
    EXPECT_EQ(ExitStatus(), esNothingPosted);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(PostingRun, TheNiifBoxPostsToTheNiifBook) {
    OpenConnected();
    window_->ckniif->setChecked(true);
    Press(Qt::Key_F2);
    EXPECT_EQ(ExitStatus(), esDone);
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_LIBRO = 'NIIF'"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_LIBRO = 'LOCAL'"), "0");
}

// A day-first date such as 02/12 would be read by the server as 12 February.
TEST_F(PostingRun, ADayFirstDateFormatPostsTheChosenDays) {
    const TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    TDateTime day = Today();
    while (DecodeDate(day).day > 12 || DecodeDate(day).day == DecodeDate(day).month) {
        day -= 1;
    }
    ASSERT_GT(day, Today() - kDemoDays);
    OpenConnected();
    window_->EFecIni->SetDateTime(day);
    window_->EFecFin->SetDateTime(day);
    Press(Qt::Key_F2);
    FormatSettings() = saved;

    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(ExitStatus(), esDone);
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = " + SqlDay(day)), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA <> " + SqlDay(day)), "0");
}

TEST_F(PostingRun, F2StoresTheOpenAdjustmentEditorsChangesFirst) {
    OpenConnected();
    window_->SembrarAjustes();
    window_->CaptionPanel1->show();
    int adjustmentsWhenPosting = -1;
    window_->PRepArticulos->BeforeGetRecords = [&](TDataSetProvider*) {
        adjustmentsWhenPosting = std::stoi(Probe().Scalar("select count(*) from AJUSTE_CIERRE"));
    };
    Press(Qt::Key_F2);
    EXPECT_TRUE(window_.isNull() || window_->CaptionPanel1->isHidden());
    EXPECT_EQ(adjustmentsWhenPosting, 3) << "one row per rate, stored before the procedure runs";
    EXPECT_EQ(ExitStatus(), esDone);
}

// The change the database rejects and those after it stay out; the earlier ones are stored and the
// run goes on.
TEST_F(PostingRun, F2PostsAfterAnAdjustmentTheDatabaseRejects) {
    OpenConnected();
    window_->SembrarAjustes();
    window_->CaptionPanel1->show();
    Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 5, 1, NULL)");
    Press(Qt::Key_F2);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Ya existe el registro en la tabla Ajuste");
    EXPECT_EQ(Probe().Rows("select cast(AJCI_PORC as varchar(20)), cast(AJCI_FACTOR as varchar(20)) from "
                           "AJUSTE_CIERRE where AJCI_FECINI = current_date order by AJCI_PORC"),
              (std::vector<std::vector<std::string>>{{"0.0000", "0.8000"}, {"5.0000", "1.0000"}}));
    EXPECT_EQ(ExitStatus(), esDone);
}

TEST_F(PostingRun, ARowThatCannotBePostedStopsTheRunBeforeTheProcedure) {
    OpenConnected();
    window_->SembrarAjustes();
    window_->CaptionPanel1->show();
    window_->CAjuste->Insert();
    window_->CAjusteAJCI_PORC->SetAsCurrency(TCurrency::FromInteger(7));
    bool procedureRan = false;
    window_->PRepArticulos->BeforeGetRecords = [&](TDataSetProvider*) { procedureRan = true; };
    Press(Qt::Key_F2);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Los campos AJCI_ID,  son obligatorios.");
    EXPECT_FALSE(procedureRan);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(window_->CaptionPanel1->isVisible()) << "the editor is back on the row to mend";
    EXPECT_EQ(ExitStatus(), -1);
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date"), "0");
}

TEST_F(PostingRun, AStatementThatCannotBeOpenedLeavesTheWindowWaiting) {
    Open();
    Press(Qt::Key_F2);
    ASSERT_EQ(boxes_.Shown().size(), 1u) << "the stored parameters lead to no database";
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_NE(boxes_.Shown()[0].text.find("/opt/tandrelerp2017/sop/tandrel.fdb"), std::string::npos);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(window_->Panel5->isVisible());
    EXPECT_EQ(window_->Panel5->Caption(), "Generando informe. espere un momento...");
    EXPECT_EQ(ExitStatus(), -1);
    EXPECT_FALSE(std::filesystem::exists(sandbox_.ApplicationDirectory() / "ERRORES.TXT"));
}

}  // namespace
}  // namespace contado
