#pragma once

#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/formatsettings.h"
#include "data/clientdataset.h"
#include "data/datasetprovider.h"
#include "data/datefield.h"
#include "data/field.h"
#include "data/fmtbcdfield.h"
#include "data/integerfield.h"
#include "data/stringfield.h"
#include "statementlogsource.h"

namespace contado {

// A client table CAjuste reaching the provider PAjuste over an AJUSTE_CIERRE-like source in memory,
// all owned by one form. Row i has AJCI_ID i, first and last day 1 + i % 3 December 2026, rate
// 0, 5 or 19 by i % 3, factor 1 and no prefix.
class ClientDataSetTest : public testing::Test {
  protected:
    ClientDataSetTest() {
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DecimalSeparator = '.';
        source.SetName("TAjuste");
        provider.SetName("PAjuste");
        table.SetName("CAjuste");
        source.AddColumn(TFieldDef("AJCI_ID", ftInteger, 0, true));
        source.AddColumn(TFieldDef("AJCI_FECINI", ftDate));
        source.AddColumn(TFieldDef("AJCI_FECFIN", ftDate));
        source.AddColumn(DecimalDef("AJCI_PORC"));
        source.AddColumn(DecimalDef("AJCI_FACTOR"));
        source.AddColumn(TFieldDef("AJCI_PREFNO", ftString, 4));
        provider.SetDataSet(&source);
        provider.BeforeGetRecords = [this](TDataSetProvider*) { ++requests; };
        provider.BeforeApplyUpdates = [this](TDataSetProvider*) { ++applies; };
        table.SetProviderName("pajuste");
        table.SetPacketRecords(1000);
    }

    ~ClientDataSetTest() override { FormatSettings() = settings; }

    static TFieldDef DecimalDef(const char* name) {
        TFieldDef def(name, ftFMTBcd, 4);
        def.SetPrecision(15);
        return def;
    }

    static TDateTime Day(int day) { return EncodeDate(2026, 12, day); }
    static TBcd Rate(int percent) { return TBcd::FromUnscaled(percent * 10000, 4); }

    void AddRows(int count) {
        static const int rates[] = {0, 5, 19};
        for (int i = 1; i <= count; ++i) {
            source.AddRow(
                {std::int64_t{i}, Day(1 + i % 3), Day(1 + i % 3), Rate(rates[i % 3]), Rate(1), TNull{}});
        }
    }

    // The persistent fields of the F5 editor's table.
    void AddPersistentFields() {
        auto* id = new TIntegerField(&form);
        id->SetFieldName("AJCI_ID");
        id->SetRequired(true);
        id->SetDataSet(&table);
        AddField(new TDateField(&form), "AJCI_FECINI", "F.Desde");
        AddField(new TDateField(&form), "AJCI_FECFIN", "F.Hasta");
        AddField(new TFMTBCDField(&form), "AJCI_PORC", "Porc");
        AddField(new TFMTBCDField(&form), "AJCI_FACTOR", "Factor");
        auto* prefix = new TStringField(&form);
        prefix->SetSize(4);
        AddField(prefix, "AJCI_PREFNO", "Pref.N/A");
    }

    void AddField(TField* field, const char* name, const char* label) {
        field->SetFieldName(name);
        field->SetDisplayLabel(label);
        field->SetDataSet(&table);
    }

    // Inserts and posts a row with the given id and first day.
    void InsertRow(int id, int day) {
        table.Insert();
        table.FieldByName("AJCI_ID").SetAsInteger(id);
        table.FieldByName("AJCI_FECINI").SetAsDateTime(Day(day));
        table.FieldByName("AJCI_PORC").SetAsBCD(Rate(19));
        table.Post();
    }

    int CurrentId() { return table.FieldByName("AJCI_ID").AsInteger(); }

    TFormatSettings settings = FormatSettings();
    TComponent form;
    TStatementLogSource source{&form};
    TDataSetProvider provider{&form};
    TClientDataSet table{&form};
    int requests = 0;
    int applies = 0;
};

}  // namespace contado
