#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "platform/services/beep.h"
#include "tests/app/companywindowfixture.h"

namespace contado {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The window's adjustment tables over a demo company, with beeps counted and the log at hand.
class Adjustments : public CompanyWindowTest {
  protected:
    void SetUp() override {
        CompanyWindowTest::SetUp();
        SetBeepHook([this] { ++beeps_; });
    }
    void TearDown() override {
        SetBeepHook(nullptr);
        CompanyWindowTest::TearDown();
    }

    std::string Log() const {
        std::ifstream file(sandbox_.ApplicationDirectory() / "ERRORES.TXT", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    Rows DayRows(TDateTime day) {
        return Probe().Rows(
            "select cast(AJCI_FECFIN as varchar(10)), cast(AJCI_PORC as varchar(20)), "
            "cast(AJCI_FACTOR as varchar(20)), coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
            "where AJCI_FECINI = " +
            SqlDateText(day) + " order by AJCI_PORC");
    }
    static std::string IsoDay(TDateTime day) { return FormatDateTime("yyyy-mm-dd", day); }

    int beeps_ = 0;
};

TEST_F(Adjustments, WindowComponentsAreWiredAtCreation) {
    Open();
    for (TClientDataSet* table : {window_->CRepArticulos, window_->Cborrar, window_->CTarifas,
                                  window_->CAjuste, window_->CAjusteAu}) {
        EXPECT_EQ(table->PacketRecords(), 1000) << table->Name();
        EXPECT_TRUE(table->OnEditError && table->OnPostError && table->OnDeleteError) << table->Name();
    }
    for (TDataSetProvider* provider : {window_->PRepArticulos, window_->PBorrar, window_->Ptarifiva,
                                       window_->PAjuste, window_->PAjusteAu}) {
        EXPECT_TRUE(provider->OnUpdateError) << provider->Name();
    }
    EXPECT_EQ(window_->FindComponent("CAjusteAJCI_PORC"), window_->CAjusteAJCI_PORC);
    EXPECT_EQ(window_->CAjusteAJCI_PORC->DisplayLabel(), "Porc");
    EXPECT_EQ(window_->CAjusteAuAJCI_PORC->DisplayLabel(), "Porc.");
    EXPECT_EQ(window_->CAjusteAuAJCI_PORC->Precision(), 15);
    EXPECT_EQ(window_->CAjusteAuAJCI_FACTOR->Size(), 4);
    EXPECT_EQ(window_->CAjusteAJCI_ID->DisplayLabel(), "AJCI_ID");
    EXPECT_TRUE(window_->CAjusteAuAJCI_ID->Required());
    EXPECT_FALSE(window_->CAjusteAJCI_FECINI->Required());
}

TEST_F(Adjustments, SeedingReplacesTheFirstDaysRowsWithOnePerRate) {
    const TDateTime day = Today() - 2;
    Probe().Execute("insert into AJUSTE_CIERRE values (0, " + SqlDateText(day) + ", " + SqlDateText(day) +
                    ", 19, 0.5, 'CA')");
    Probe().Execute("insert into AJUSTE_CIERRE values (0, " + SqlDateText(day) + ", " + SqlDateText(day) +
                    ", 12, 1, NULL)");
    Probe().Execute("insert into AJUSTE_CIERRE values (0, " + SqlDateText(day - 1) + ", " + SqlDateText(day) +
                    ", 19, 0.5, 'CA')");
    OpenConnected();
    window_->EFecIni->SetDateTime(day);
    window_->EFecFin->SetDateTime(day + 3);
    window_->SembrarAjustes();
    EXPECT_EQ(window_->CAjuste->RecordCount(), 3);
    EXPECT_EQ(window_->CAjuste->ApplyUpdates(0), 0);

    const std::string last = IsoDay(day + 3);
    EXPECT_EQ(DayRows(day), (Rows{{last, "0.0000", "0.8000", "-"},
                                  {last, "5.0000", "0.8000", "-"},
                                  {last, "19.0000", "0.8000", "-"}}));
    EXPECT_EQ(DayRows(day - 1).size(), 1u) << "other days keep their rows";
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Adjustments, PlannedRowsGetIdentifierZeroOnInsert) {
    OpenConnected();
    window_->CAjusteAu->Open();
    window_->CAjusteAu->Insert();
    EXPECT_EQ(window_->CAjusteAuAJCI_ID->AsInteger(), 0);
    EXPECT_FALSE(window_->CAjusteAuAJCI_ID->IsNull());
}

TEST_F(Adjustments, AKeyTheDatabaseAlreadyHoldsIsReportedForTheTableAndNothingIsStored) {
    OpenConnected();
    window_->SembrarAjustes();
    Probe().Execute("insert into AJUSTE_CIERRE values (0, " + SqlDateText(Today()) + ", " +
                    SqlDateText(Today()) + ", 5, 1, NULL)");
    EXPECT_EQ(window_->CAjuste->ApplyUpdates(0), 1);

    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Error");
    EXPECT_EQ(boxes_.Shown()[0].text, "Ya existe el registro en la tabla Ajuste");
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(DayRows(Today()), (Rows{{IsoDay(Today()), "5.0000", "1.0000", "-"}})) << "rolled back";
    const std::string log = Log();
    EXPECT_TRUE(log.starts_with(DateToStr(Today()) + ",")) << log;
    EXPECT_NE(log.find(",SYSDBA,SQL Server Error: violation of PRIMARY or UNIQUE KEY"), std::string::npos)
        << log;
    EXPECT_TRUE(log.ends_with("\r\n"));
    EXPECT_EQ(log.find(",SYSDBA,"), log.rfind(",SYSDBA,")) << "one error, one line: " << log;
}

TEST_F(Adjustments, AnUnknownPrefixIsReportedAsARelationWithAnotherTable) {
    OpenConnected();
    window_->SembrarAjustes();
    window_->CAjuste->Last();
    window_->CAjuste->Edit();
    window_->CAjusteAJCI_PREFNO->SetAsString("ZZ");
    window_->CAjuste->Post();
    window_->CAjuste->ApplyUpdates(0);

    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(
        boxes_.Shown()[0].text,
        "Está borrando o insertando un registro en la tabla Ajuste que tiene una relación con otra tabla.");
    EXPECT_TRUE(DayRows(Today()).empty());
    EXPECT_NE(Log().find("violation of FOREIGN KEY"), std::string::npos);
}

TEST_F(Adjustments, ARowWithoutIdentifierNamesTheRequiredFieldAndStaysInInsert) {
    OpenConnected();
    sandbox_.WriteApplicationFile("ERRORES.TXT", "earlier line\r\n");
    window_->SembrarAjustes();
    window_->CAjuste->Insert();
    window_->CAjusteAJCI_PORC->SetAsCurrency(TCurrency::FromInteger(7));
    EXPECT_THROW(window_->CAjuste->Post(), EAbort);

    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Los campos AJCI_ID,  son obligatorios.");
    EXPECT_EQ(window_->Panel5->Caption(), "CAjuste: Field 'AJCI_ID' must have a value");
    EXPECT_FALSE(window_->Panel5->isVisible()) << "the warning does not show the panel";
    EXPECT_EQ(beeps_, 2);
    EXPECT_EQ(window_->CAjuste->State(), dsInsert);
    const std::string log = Log();
    EXPECT_TRUE(log.starts_with("earlier line\r\n")) << "the log is appended to, never emptied";
    EXPECT_TRUE(log.ends_with(",SYSDBA,Field 'AJCI_ID' must have a value\r\n")) << log;
}

TEST_F(Adjustments, AGracefulCloseIsNeitherLoggedNorShown) {
    Open();
    EUpdateError graceful("Connection Closed Gracefully.", "", 1, 0, nullptr);
    TResolverResponse response = rrSkip;
    window_->ManejarError(window_->PAjuste, nullptr, graceful, ukModify, response);
    EXPECT_EQ(response, rrSkip) << "the provider's own response stands";
    EDatabaseError clientGraceful("Connection Closed Gracefully.");
    TDataAction action = daFail;
    window_->ManejarClientError(window_->CAjuste, clientGraceful, action);
    EXPECT_EQ(action, daAbort) << "the operation is still abandoned";
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(beeps_, 0);
    EXPECT_FALSE(std::filesystem::exists(sandbox_.ApplicationDirectory() / "ERRORES.TXT"));

    EUpdateError longer("Connection Closed Gracefully. Again", "", 1, 0, nullptr);
    window_->ManejarError(window_->PAjuste, nullptr, longer, ukModify, response);
    EXPECT_EQ(response, rrAbort);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Connection Closed Gracefully. Again");
    EXPECT_NE(Log().find("Connection Closed Gracefully. Again"), std::string::npos);
}

TEST_F(Adjustments, AnUnwritableLogLosesTheLineAndNothingElse) {
    const auto notADirectory = sandbox_.ApplicationDirectory() / "SERVIDORES.cfg";
    OpenConnected();
    sandbox_.WriteSettings("[General]\nDirectorio=" + notADirectory.string() + "\n");
    window_->SembrarAjustes();
    window_->CAjuste->Insert();
    EXPECT_THROW(window_->CAjuste->Post(), EAbort);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Los campos AJCI_ID,  son obligatorios.");
    EXPECT_EQ(beeps_, 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(notADirectory));
}

}  // namespace
}  // namespace contado
