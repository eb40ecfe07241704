// The main window's data components: the SQL datasets over the connection, their providers, the
// client tables with the adjustment tables' persistent fields, the data sources, and the wiring of
// every provider's and client table's error events.

#include "app/fquenvar.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/dataset/datasource.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqlquery.h"
#include "data/sql/sqltable.h"
#include "data/fields/stringfield.h"

namespace contado {

namespace {

constexpr int kRowsPerPacket = 1000;
constexpr int kDecimalPrecision = 15;
constexpr int kDecimalScale = 4;
constexpr int kPrefixSize = 4;

}  // namespace

void Tfquenvar::CreateDataComponents() {
    SQLQuery1 = NewQuery("SQLQuery1");
    QTarifas = NewQuery("QTarifas");
    TAjuste = NewTable("TAjuste", "AJUSTE_CIERRE");
    TAjusteAu = NewTable("TAjusteAu", "AJUSTE_CIERRE_AUTO");

    PRepArticulos = NewProvider("PRepArticulos", SQLQuery1, {poAllowCommandText});
    PBorrar = NewProvider("PBorrar", SQLQuery1, {poAllowCommandText});
    Ptarifiva = NewProvider("Ptarifiva", QTarifas, {poAllowCommandText});
    PAjuste = NewProvider("PAjuste", TAjuste, {});
    PAjusteAu = NewProvider("PAjusteAu", TAjusteAu, {});

    CRepArticulos = NewClientTable("CRepArticulos", "PRepArticulos");
    CRepArticulos->SetCommandText("select * from contabil_facturas_contado('2003/09/01', '0', '0000', 1,1)");
    Cborrar = NewClientTable("Cborrar", "PBorrar");
    CTarifas = NewClientTable("CTarifas", "Ptarifiva");
    CTarifas->SetCommandText("SELECT DISTINCT TAIV_PORC FROM TARIFA_IVA");

    CAjuste = NewClientTable("CAjuste", "PAjuste");
    CAjusteAJCI_ID = NewField<TIntegerField>(CAjuste, "AJCI_ID", "");
    CAjusteAJCI_FECINI = NewField<TDateField>(CAjuste, "AJCI_FECINI", "F.Desde");
    CAjusteAJCI_FECFIN = NewField<TDateField>(CAjuste, "AJCI_FECFIN", "F.Hasta");
    CAjusteAJCI_PORC = NewField<TFMTBCDField>(CAjuste, "AJCI_PORC", "Porc");
    CAjusteAJCI_FACTOR = NewField<TFMTBCDField>(CAjuste, "AJCI_FACTOR", "Factor");
    CAjusteAJCI_PREFNO = NewField<TStringField>(CAjuste, "AJCI_PREFNO", "Pref.N/A");

    CAjusteAu = NewClientTable("CAjusteAu", "PAjusteAu");
    CAjusteAuAJCI_ID = NewField<TIntegerField>(CAjusteAu, "AJCI_ID", "");
    CAjusteAuAJCI_FECINI = NewField<TDateField>(CAjusteAu, "AJCI_FECINI", "Fec.Desde");
    CAjusteAuAJCI_FECFIN = NewField<TDateField>(CAjusteAu, "AJCI_FECFIN", "Fec.Hasta");
    CAjusteAuAJCI_PORC = NewField<TFMTBCDField>(CAjusteAu, "AJCI_PORC", "Porc.");
    CAjusteAuAJCI_FACTOR = NewField<TFMTBCDField>(CAjusteAu, "AJCI_FACTOR", "Factor");
    CAjusteAuAJCI_PREFNO = NewField<TStringField>(CAjusteAu, "AJCI_PREFNO", "Pref.N/A");
    CAjusteAu->AfterInsert = [this](TDataSet* dataSet) { CAjusteAuAfterInsert(dataSet); };

    for (TIntegerField* id : {CAjusteAJCI_ID, CAjusteAuAJCI_ID}) {
        id->SetRequired(true);
    }
    for (TFMTBCDField* decimal :
         {CAjusteAJCI_PORC, CAjusteAJCI_FACTOR, CAjusteAuAJCI_PORC, CAjusteAuAJCI_FACTOR}) {
        decimal->SetPrecision(kDecimalPrecision);
        decimal->SetSize(kDecimalScale);
    }
    for (TStringField* prefix : {CAjusteAJCI_PREFNO, CAjusteAuAJCI_PREFNO}) {
        prefix->SetSize(kPrefixSize);
    }

    DSconsecut = NewDataSource("DSconsecut", CRepArticulos);
    DAjuste = NewDataSource("DAjuste", CAjuste);
    DAjusteau = NewDataSource("DAjusteau", CAjusteAu);
}

TSQLQuery* Tfquenvar::NewQuery(const std::string& name) {
    auto* query = new TSQLQuery(this);
    query->SetName(name);
    query->SetSQLConnection(Tandrel);
    query->SetMaxBlobSize(-1);
    return query;
}

TSQLTable* Tfquenvar::NewTable(const std::string& name, const std::string& tableName) {
    auto* table = new TSQLTable(this);
    table->SetName(name);
    table->SetSQLConnection(Tandrel);
    table->SetMaxBlobSize(-1);
    table->SetGetMetadata(false);
    table->SetTableName(tableName);
    return table;
}

TDataSetProvider* Tfquenvar::NewProvider(const std::string& name, TDataSet* source,
                                         TProviderOptions options) {
    auto* provider = new TDataSetProvider(this);
    provider->SetName(name);
    provider->SetDataSet(source);
    provider->SetOptions(options);
    return provider;
}

TClientDataSet* Tfquenvar::NewClientTable(const std::string& name, const std::string& providerName) {
    auto* table = new TClientDataSet(this);
    table->SetName(name);
    table->SetProviderName(providerName);
    return table;
}

TDataSource* Tfquenvar::NewDataSource(const std::string& name, TDataSet* dataSet) {
    auto* source = new TDataSource(this);
    source->SetName(name);
    source->SetDataSet(dataSet);
    return source;
}

// A persistent field, owned by the window as the form designer makes them, named after its table
// and column.
template <typename Field>
Field* Tfquenvar::NewField(TClientDataSet* table, const std::string& fieldName, const std::string& label) {
    auto* field = new Field(this);
    field->SetName(table->Name() + fieldName);
    field->SetFieldName(fieldName);
    field->SetDisplayLabel(label);
    field->SetDataSet(table);
    return field;
}

// A component that owns others is searched through instead of being looked at itself.
void Tfquenvar::ConfigurarProviders(TComponent* Component) {
    for (int index = 0; index < Component->ComponentCount(); ++index) {
        TComponent* component = Component->Components(index);
        if (component->ComponentCount() > 0) {
            ConfigurarProviders(component);
        } else if (auto* provider = dynamic_cast<TDataSetProvider*>(component)) {
            provider->OnUpdateError = [this](TDataSetProvider* sender, TDeltaReader&, EUpdateError& error,
                                             TUpdateKind kind, TResolverResponse& response) {
                ManejarError(sender, nullptr, error, kind, response);
            };
        } else if (auto* table = dynamic_cast<TClientDataSet*>(component)) {
            table->SetPacketRecords(kRowsPerPacket);
            const auto handler = [this](TDataSet* dataSet, EDatabaseError& error, TDataAction& action) {
                ManejarClientError(dataSet, error, action);
            };
            table->OnEditError = handler;
            table->OnPostError = handler;
            table->OnDeleteError = handler;
        }
    }
}

}  // namespace contado
