#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/formatsettings.h"
#include "data/clientdataset.h"
#include "data/datasetprovider.h"
#include "data/datefield.h"
#include "data/fmtbcdfield.h"
#include "data/integerfield.h"
#include "data/sqlquery.h"
#include "data/sqltable.h"
#include "data/stringfield.h"
#include "tests/data/companyfixture.h"

namespace contado {
namespace {

// The F5 editor's tables on a company database: CAjuste over AJUSTE_CIERRE with the window's
// persistent fields, CAjusteAu over AJUSTE_CIERRE_AUTO, CTarifas over the rate list; every table
// fetches 1000 rows per packet.
class ClientTableOnCompany : public CompanyTest {
protected:
    ClientTableOnCompany() {
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DecimalSeparator = '.';
        CAjuste = ClientTable("AJUSTE_CIERRE", "TAjuste", "PAjuste", "CAjuste");
        CAjusteAu = ClientTable("AJUSTE_CIERRE_AUTO", "TAjusteAu", "PAjusteAu", "CAjusteAu");
        AddPersistentFields();

        auto* QTarifas = new TSQLQuery(&form_);
        QTarifas->SetName("QTarifas");
        QTarifas->SetSQLConnection(Tandrel);
        auto* Ptarifiva = new TDataSetProvider(&form_);
        Ptarifiva->SetName("Ptarifiva");
        Ptarifiva->SetDataSet(QTarifas);
        Ptarifiva->SetOptions({poAllowCommandText});
        CTarifas = new TClientDataSet(&form_);
        CTarifas->SetName("CTarifas");
        CTarifas->SetProviderName("Ptarifiva");
        CTarifas->SetCommandText("SELECT DISTINCT TAIV_PORC FROM TARIFA_IVA");
        CTarifas->SetPacketRecords(1000);
    }

    ~ClientTableOnCompany() override { FormatSettings() = settings_; }

    TClientDataSet* ClientTable(const char* tableName, const char* sourceName, const char* providerName,
                                const char* clientName) {
        auto* source = new TSQLTable(&form_);
        source->SetName(sourceName);
        source->SetSQLConnection(Tandrel);
        source->SetTableName(tableName);
        source->SetGetMetadata(false);
        source->SetMaxBlobSize(-1);
        auto* provider = new TDataSetProvider(&form_);
        provider->SetName(providerName);
        provider->SetDataSet(source);
        provider->BeforeGetRecords = [this](TDataSetProvider*) { ++requests_; };
        provider->BeforeApplyUpdates = [this](TDataSetProvider*) { ++applies_; };
        provider->OnUpdateError = [this](TDataSetProvider*, TDeltaReader&, EUpdateError& error, TUpdateKind,
                                         TResolverResponse& response) {
            updateErrors_.push_back(error.Message());
            response = rrAbort;
        };
        auto* client = new TClientDataSet(&form_);
        client->SetName(clientName);
        client->SetProviderName(providerName);
        client->SetPacketRecords(1000);
        return client;
    }

    void AddPersistentFields() {
        auto* id = new TIntegerField(&form_);
        id->SetName("CAjusteAJCI_ID");
        id->SetFieldName("AJCI_ID");
        id->SetRequired(true);
        id->SetDataSet(CAjuste);
        const std::pair<TField*, const char*> others[] = {
            {new TDateField(&form_), "AJCI_FECINI"},   {new TDateField(&form_), "AJCI_FECFIN"},
            {new TFMTBCDField(&form_), "AJCI_PORC"},   {new TFMTBCDField(&form_), "AJCI_FACTOR"},
            {new TStringField(&form_), "AJCI_PREFNO"}};
        for (const auto& [field, name] : others) {
            field->SetFieldName(name);
            field->SetDataSet(CAjuste);
        }
        CAjuste->FieldByName("AJCI_PREFNO").SetSize(4);
        CAjuste->FieldByName("AJCI_FECINI").SetDisplayLabel("F.Desde");
    }

    // Three rows for 9 December 2026 (rates 0, 5 and 19, factor 1, prefix FV) and one for the 10th;
    // new rows get identifiers from 101.
    void SeedAdjustments() {
        Execute("insert into AJUSTE_CIERRE values (1, '2026-12-09', '2026-12-09', 0, 1, 'FV')");
        Execute("insert into AJUSTE_CIERRE values (2, '2026-12-09', '2026-12-09', 5, 1, 'FV')");
        Execute("insert into AJUSTE_CIERRE values (3, '2026-12-09', '2026-12-09', 19, 1, 'FV')");
        Execute("insert into AJUSTE_CIERRE values (4, '2026-12-10', '2026-12-10', 19, 1, 'FV')");
        Execute("alter sequence GEN_AJUSTE_CIERRE restart with 100");
    }

    // What F5 does on opening: the day's rows deleted, one new row per rate with factor 0.8.
    void SeedLikeF5(TDateTime first, TDateTime last) {
        CAjuste->SetFilter("AJCI_FECINI = " + QuotedDateText(first));
        CAjuste->SetFiltered(true);
        CAjuste->Open();
        while (!CAjuste->Eof()) {
            CAjuste->Delete();
        }
        CTarifas->Open();
        for (CTarifas->First(); !CTarifas->Eof(); CTarifas->Next()) {
            TBcd rate = TBcd::FromCurrency(CTarifas->Fields(0)->AsCurrency());
            if (CAjuste->Locate("AJCI_PORC", {rate}, {})) {
                CAjuste->Edit();
            } else {
                CAjuste->Insert();
                CAjuste->FieldByName("AJCI_ID").SetAsInteger(0);
                CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(first);
                CAjuste->FieldByName("AJCI_FECFIN").SetAsDateTime(last);
                CAjuste->FieldByName("AJCI_PORC").SetAsBCD(rate);
            }
            CAjuste->FieldByName("AJCI_FACTOR").SetAsCurrency(TCurrency::FromRaw(8000));
            CAjuste->Post();
        }
    }

    TFormatSettings settings_ = FormatSettings();
    TClientDataSet* CAjuste;
    TClientDataSet* CAjusteAu;
    TClientDataSet* CTarifas;
    int requests_ = 0;
    int applies_ = 0;
    std::vector<std::string> updateErrors_;
};

TEST_F(ClientTableOnCompany, TheRateListReadsFixedPointRates) {
    CTarifas->Open();
    std::vector<std::int64_t> rates;
    for (; !CTarifas->Eof(); CTarifas->Next()) {
        rates.push_back(CTarifas->Fields(0)->AsCurrency().Raw());
    }
    EXPECT_THAT(rates, ::testing::ElementsAre(0, 50000, 190000));
}

TEST_F(ClientTableOnCompany, SeedingTheFirstDayStoresExactlyOneRowPerRate) {
    SeedAdjustments();
    TDateTime day = EncodeDate(2026, 12, 9);
    SeedLikeF5(day, EncodeDate(2026, 12, 15));
    EXPECT_EQ(CAjuste->RecordCount(), 3);
    EXPECT_EQ(CAjuste->ChangeCount(), 6);
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_TRUE(updateErrors_.empty());
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    CAjuste->Close();

    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-09'"), 3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FECINI = '2026-12-09' and AJCI_FECFIN = '2026-12-15' and "
                    "AJCI_FACTOR = 0.8 and AJCI_PREFNO is null and AJCI_ID > 100"),
              3);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_PORC in (0, 5, 19) and AJCI_FECINI = '2026-12-09'"), 3);
    // The hidden row of another day is untouched.
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 4 and AJCI_FACTOR = 1 and AJCI_PREFNO = 'FV'"), 1);
}

TEST_F(ClientTableOnCompany, AFilterDateWithoutRowsIsAtItsEndAndEmptyAtOnce) {
    SeedAdjustments();
    CAjuste->SetFilter("AJCI_FECINI = '01/01/2030'");
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    EXPECT_TRUE(CAjuste->Eof());
    EXPECT_TRUE(CAjuste->IsEmpty());
    CAjuste->SetFiltered(false);
    EXPECT_EQ(CAjuste->RecordCount(), 4);
}

TEST_F(ClientTableOnCompany, AResultOfExactly1000RowsIsFollowedByOneEmptyRequest) {
    FillPlannedAdjustments(1000);
    CAjusteAu->Open();
    EXPECT_EQ(requests_, 1);
    EXPECT_EQ(CAjusteAu->RecordCount(), 1000);
    CAjusteAu->Last();
    EXPECT_EQ(requests_, 2);
    EXPECT_EQ(CAjusteAu->RecordCount(), 1000);
    EXPECT_EQ(CAjusteAu->RecNo(), 1000);
    CAjusteAu->Next();
    EXPECT_EQ(requests_, 2);
    EXPECT_TRUE(CAjusteAu->Eof());
}

TEST_F(ClientTableOnCompany, ApplyingWithoutChangesAnswersZeroWithoutCallingTheProvider) {
    SeedAdjustments();
    CAjuste->Open();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0);
    EXPECT_EQ(CAjuste->ApplyUpdates(-1), 0);
    EXPECT_EQ(applies_, 0);
}

TEST_F(ClientTableOnCompany, ClosingWithUnappliedChangesLosesThem) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Delete();
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_FACTOR").SetAsCurrency(TCurrency::FromRaw(5000));
    CAjuste->Post();
    CAjuste->Close();
    EXPECT_EQ(applies_, 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_FACTOR = 1"), 4);
    CAjuste->Open();
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_EQ(CAjuste->RecordCount(), 4);
}

TEST_F(ClientTableOnCompany, PostingWithoutAnIdFailsThroughOnPostErrorAndStaysInInsertState) {
    std::vector<std::string> messages;
    CAjuste->OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
        messages.push_back(error.Message());
        action = daAbort;
    };
    CAjuste->Open();
    CAjuste->Insert();
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 9));
    EXPECT_THROW(CAjuste->Post(), EAbort);
    EXPECT_THAT(messages, ::testing::ElementsAre("Field 'AJCI_ID' must have a value"));
    EXPECT_EQ(CAjuste->State(), dsInsert);
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
}

TEST_F(ClientTableOnCompany, AFailedApplyUnderLimitZeroLeavesTheLogAndTheDatabaseUnchanged) {
    SeedAdjustments();
    CAjuste->Open();
    CAjuste->Delete();  // row 1: stored, then rolled back
    CAjuste->Insert();  // the same day and rate as row 3: a unique key violation
    CAjuste->FieldByName("AJCI_ID").SetAsInteger(0);
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 9));
    CAjuste->FieldByName("AJCI_PORC").SetAsCurrency(TCurrency::FromRaw(190000));
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 1);
    ASSERT_EQ(updateErrors_.size(), 1u);
    EXPECT_NE(updateErrors_[0].find("violation of PRIMARY or UNIQUE KEY constraint"), std::string::npos);
    EXPECT_EQ(CAjuste->ChangeCount(), 2);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 4);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1"), 1);

    // Once the offending row is put right, the same log applies.
    CAjuste->Edit();
    CAjuste->FieldByName("AJCI_PORC").SetAsCurrency(TCurrency::FromRaw(50000));
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(EncodeDate(2026, 12, 11));
    CAjuste->Post();
    EXPECT_EQ(CAjuste->ApplyUpdates(0), 0) << updateErrors_.back();
    EXPECT_EQ(CAjuste->ChangeCount(), 0);
    EXPECT_EQ(Count("AJUSTE_CIERRE"), 4);
    EXPECT_EQ(Count("AJUSTE_CIERRE where AJCI_ID = 1"), 0);
}

}  // namespace
}  // namespace contado
