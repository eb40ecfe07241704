#include "tests/data/client/clienttablefixture.h"

#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/sql/sqlquery.h"
#include "data/fields/stringfield.h"

namespace contado {

namespace {

TSQLTable* SourceTable(TComponent* owner, TSQLConnection* connection, const char* name, const char* table) {
    auto* source = new TSQLTable(owner);
    source->SetName(name);
    source->SetSQLConnection(connection);
    source->SetTableName(table);
    source->SetGetMetadata(false);
    source->SetMaxBlobSize(-1);
    return source;
}

}  // namespace

ClientTableTest::ClientTableTest() {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DecimalSeparator = '.';
    TAjuste = SourceTable(&form_, Tandrel, "TAjuste", "AJUSTE_CIERRE");
    TAjusteAu = SourceTable(&form_, Tandrel, "TAjusteAu", "AJUSTE_CIERRE_AUTO");
    PAjuste = Provider("PAjuste", TAjuste);
    PAjusteAu = Provider("PAjusteAu", TAjusteAu);
    CAjuste = ClientTable("CAjuste", "PAjuste");
    CAjusteAu = ClientTable("CAjusteAu", "PAjusteAu");
    AddPersistentFields();

    auto* QTarifas = new TSQLQuery(&form_);
    QTarifas->SetName("QTarifas");
    QTarifas->SetSQLConnection(Tandrel);
    auto* Ptarifiva = new TDataSetProvider(&form_);
    Ptarifiva->SetName("Ptarifiva");
    Ptarifiva->SetDataSet(QTarifas);
    Ptarifiva->SetOptions({poAllowCommandText});
    CTarifas = ClientTable("CTarifas", "Ptarifiva");
    CTarifas->SetCommandText("SELECT DISTINCT TAIV_PORC FROM TARIFA_IVA");
}

ClientTableTest::~ClientTableTest() {
    FormatSettings() = settings_;
}

TDataSetProvider* ClientTableTest::Provider(const char* name, TSQLTable* source) {
    auto* provider = new TDataSetProvider(&form_);
    provider->SetName(name);
    provider->SetDataSet(source);
    provider->BeforeGetRecords = [this](TDataSetProvider*) { ++requests_; };
    provider->BeforeApplyUpdates = [this](TDataSetProvider*) { ++applies_; };
    provider->OnUpdateError = [this](TDataSetProvider*, TDeltaReader&, EUpdateError& error, TUpdateKind,
                                     TResolverResponse& response) {
        updateErrors_.push_back(error.Message());
        response = updateResponse_;
    };
    return provider;
}

TClientDataSet* ClientTableTest::ClientTable(const char* name, const char* providerName) {
    auto* client = new TClientDataSet(&form_);
    client->SetName(name);
    client->SetProviderName(providerName);
    client->SetPacketRecords(1000);
    return client;
}

void ClientTableTest::AddPersistentFields() {
    auto* id = new TIntegerField(&form_);
    id->SetFieldName("AJCI_ID");
    id->SetRequired(true);
    id->SetDataSet(CAjuste);
    const std::tuple<TField*, const char*, const char*> others[] = {
        {new TDateField(&form_), "AJCI_FECINI", "F.Desde"},
        {new TDateField(&form_), "AJCI_FECFIN", "F.Hasta"},
        {new TFMTBCDField(&form_), "AJCI_PORC", "Porc"},
        {new TFMTBCDField(&form_), "AJCI_FACTOR", "Factor"},
        {new TStringField(&form_), "AJCI_PREFNO", "Pref.N/A"}};
    for (const auto& [field, name, label] : others) {
        field->SetFieldName(name);
        field->SetDisplayLabel(label);
        field->SetDataSet(CAjuste);
    }
    CAjuste->FieldByName("AJCI_PREFNO").SetSize(4);
    for (const char* name : {"AJCI_PORC", "AJCI_FACTOR"}) {
        auto& decimal = static_cast<TFMTBCDField&>(CAjuste->FieldByName(name));
        decimal.SetPrecision(15);
        decimal.SetSize(4);
    }
}

void ClientTableTest::SeedAdjustments() {
    Execute("insert into AJUSTE_CIERRE values (1, '2026-12-09', '2026-12-09', 0, 1, 'FV')");
    Execute("insert into AJUSTE_CIERRE values (2, '2026-12-09', '2026-12-09', 5, 1, 'FV')");
    Execute("insert into AJUSTE_CIERRE values (3, '2026-12-09', '2026-12-09', 19, 1, 'FV')");
    Execute("insert into AJUSTE_CIERRE values (4, '2026-12-10', '2026-12-10', 19, 1, 'FV')");
    Execute("alter sequence GEN_AJUSTE_CIERRE restart with 100");
}

void ClientTableTest::SeedLikeF5(TDateTime first, TDateTime last) {
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

void ClientTableTest::InsertAdjustment(int id, TDateTime first, std::int64_t rateTenThousandths) {
    CAjuste->Insert();
    CAjuste->FieldByName("AJCI_ID").SetAsInteger(id);
    CAjuste->FieldByName("AJCI_FECINI").SetAsDateTime(first);
    CAjuste->FieldByName("AJCI_PORC").SetAsCurrency(TCurrency::FromRaw(rateTenThousandths));
    CAjuste->Post();
}

int ClientTableTest::CurrentId(TClientDataSet* table) const {
    return table->FieldByName("AJCI_ID").AsInteger();
}

std::vector<int> ClientTableTest::VisibleIds(TClientDataSet* table) const {
    std::vector<int> ids;
    for (table->First(); !table->Eof(); table->Next()) {
        ids.push_back(CurrentId(table));
    }
    return ids;
}

}  // namespace contado
