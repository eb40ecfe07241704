// The company database's data module: the connection, the SQL datasets over it, their providers,
// the client tables with the adjustment tables' persistent fields, and the data sources.

#include "app/run/companydata.h"

#include "app/run/serverlist.h"
#include "data/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqlquery.h"
#include "data/sql/sqltable.h"
#include "platform/services/messageboxservice.h"
#include "platform/services/registry.h"

namespace contado {

namespace {

constexpr const char* kRegistryKey = "\\Software\\Ombrin\\TandrelERP2017";
constexpr const char* kMissingKeyMessage =
    "No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\\Ombrin\\TandrelERP2017\\Directorio";

constexpr int kRowsPerPacket = 1000;
constexpr int kDecimalPrecision = 15;
constexpr int kDecimalScale = 4;
constexpr int kPrefixSize = 4;

}  // namespace

TCompanyData::TCompanyData(TComponent& owner) {
    CreateConnection(owner);
    CreateDataComponents(owner);
}

// Until the first connection these settings stand; a dataset opened before it connects with them.
void TCompanyData::CreateConnection(TComponent& owner) {
    Tandrel = new TSQLConnection(&owner);
    Tandrel->SetName("Tandrel");
    Tandrel->SetConnectionName("Tandrel");
    Tandrel->SetDriverName("Interbase");
    Tandrel->SetLibraryName("libfbdriver.so");
    Tandrel->SetGetDriverFunc("getSQLDriverFIREBIRD");
    Tandrel->SetVendorLib("libfbclient.so.2");
    Tandrel->SetLoginPrompt(false);
    Tandrel->Params().SetLines(
        {"DriverName=Interbase", "BlobSize=-1", "CommitRetain=False",
         "Database=/opt/tandrelerp2017/sop/tandrel.fdb", "ErrorResourceFile=", "LocaleCode=0000",
         "Password=dovizeriz", "RoleName=RoleName", "ServerCharSet=", "SQLDialect=3",
         "Interbase TransIsolation=ReadCommited", "User_Name=sysdba", "WaitOnLocks=True"});
}


void TCompanyData::CreateDataComponents(TComponent& owner) {
    SQLQuery1 = NewQuery(owner, "SQLQuery1");
    QTarifas = NewQuery(owner, "QTarifas");
    TAjuste = NewTable(owner, "TAjuste", "AJUSTE_CIERRE");
    TAjusteAu = NewTable(owner, "TAjusteAu", "AJUSTE_CIERRE_AUTO");

    PRepArticulos = NewProvider(owner, "PRepArticulos", SQLQuery1, {poAllowCommandText});
    PBorrar = NewProvider(owner, "PBorrar", SQLQuery1, {poAllowCommandText});
    Ptarifiva = NewProvider(owner, "Ptarifiva", QTarifas, {poAllowCommandText});
    PAjuste = NewProvider(owner, "PAjuste", TAjuste, {});
    PAjusteAu = NewProvider(owner, "PAjusteAu", TAjusteAu, {});

    CRepArticulos = NewClientTable(owner, "CRepArticulos", "PRepArticulos");
    CRepArticulos->SetCommandText("select * from contabil_facturas_contado('2003/09/01', '0', '0000', 1,1)");
    Cborrar = NewClientTable(owner, "Cborrar", "PBorrar");
    CTarifas = NewClientTable(owner, "CTarifas", "Ptarifiva");
    CTarifas->SetCommandText("SELECT DISTINCT TAIV_PORC FROM TARIFA_IVA");

    CAjuste = NewClientTable(owner, "CAjuste", "PAjuste");
    CAjusteAJCI_ID = NewField<TIntegerField>(owner, CAjuste, "AJCI_ID", "");
    CAjusteAJCI_FECINI = NewField<TDateField>(owner, CAjuste, "AJCI_FECINI", "F.Desde");
    CAjusteAJCI_FECFIN = NewField<TDateField>(owner, CAjuste, "AJCI_FECFIN", "F.Hasta");
    CAjusteAJCI_PORC = NewField<TFMTBCDField>(owner, CAjuste, "AJCI_PORC", "Porc");
    CAjusteAJCI_FACTOR = NewField<TFMTBCDField>(owner, CAjuste, "AJCI_FACTOR", "Factor");
    CAjusteAJCI_PREFNO = NewField<TStringField>(owner, CAjuste, "AJCI_PREFNO", "Pref.N/A");

    CAjusteAu = NewClientTable(owner, "CAjusteAu", "PAjusteAu");
    CAjusteAuAJCI_ID = NewField<TIntegerField>(owner, CAjusteAu, "AJCI_ID", "");
    CAjusteAuAJCI_FECINI = NewField<TDateField>(owner, CAjusteAu, "AJCI_FECINI", "Fec.Desde");
    CAjusteAuAJCI_FECFIN = NewField<TDateField>(owner, CAjusteAu, "AJCI_FECFIN", "Fec.Hasta");
    CAjusteAuAJCI_PORC = NewField<TFMTBCDField>(owner, CAjusteAu, "AJCI_PORC", "Porc.");
    CAjusteAuAJCI_FACTOR = NewField<TFMTBCDField>(owner, CAjusteAu, "AJCI_FACTOR", "Factor");
    CAjusteAuAJCI_PREFNO = NewField<TStringField>(owner, CAjusteAu, "AJCI_PREFNO", "Pref.N/A");
    
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

    DSconsecut = NewDataSource(owner, "DSconsecut", CRepArticulos);
    DAjuste = NewDataSource(owner, "DAjuste", CAjuste);
    DAjusteau = NewDataSource(owner, "DAjusteau", CAjusteAu);
}

TSQLQuery* TCompanyData::NewQuery(TComponent& owner, const std::string& name) {
    auto* query = new TSQLQuery(&owner);
    query->SetName(name);
    query->SetSQLConnection(Tandrel);
    query->SetMaxBlobSize(-1);
    return query;
}

TSQLTable* TCompanyData::NewTable(TComponent& owner, const std::string& name, const std::string& tableName) {
    auto* table = new TSQLTable(&owner);
    table->SetName(name);
    table->SetSQLConnection(Tandrel);
    table->SetMaxBlobSize(-1);
    table->SetGetMetadata(false);
    table->SetTableName(tableName);
    return table;
}

TDataSetProvider* TCompanyData::NewProvider(TComponent& owner, const std::string& name, TDataSet* source,
                                            TProviderOptions options) {
    auto* provider = new TDataSetProvider(&owner);
    provider->SetName(name);
    provider->SetDataSet(source);
    provider->SetOptions(options);
    return provider;
}

TClientDataSet* TCompanyData::NewClientTable(TComponent& owner, const std::string& name,
                                             const std::string& providerName) {
    auto* table = new TClientDataSet(&owner);
    table->SetName(name);
    table->SetProviderName(providerName);
    return table;
}

TDataSource* TCompanyData::NewDataSource(TComponent& owner, const std::string& name, TDataSet* dataSet) {
    auto* source = new TDataSource(&owner);
    source->SetName(name);
    source->SetDataSet(dataSet);
    return source;
}

// A persistent field, owned by the owner of the data module as the form designer makes them,
// named after its table and column.
template <typename Field>
Field* TCompanyData::NewField(TComponent& owner, TClientDataSet* table, const std::string& fieldName,
                              const std::string& label) {
    auto* field = new Field(&owner);
    field->SetName(table->Name() + fieldName);
    field->SetFieldName(fieldName);
    field->SetDisplayLabel(label);
    field->SetDataSet(table);
    return field;
}

std::string TCompanyData::diraplicacion() {
    TRegistry registry;
    if (registry.OpenKeyReadOnly(kRegistryKey)) {
        return registry.ReadString("Directorio");
    }
    ShowMessage(kMissingKeyMessage);
    return {};
}

std::vector<std::string> TCompanyData::LeerServidores() {
    return TServerList::Read(TServerList::PathFor(diraplicacion()));
}

// A component that owns others is searched through instead of being looked at itself.
void TCompanyData::ConfigurarProviders(TComponent* Component) {
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
