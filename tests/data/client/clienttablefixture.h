#pragma once

#include <string>
#include <vector>

#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqltable.h"
#include "tests/data/companyfixture.h"

namespace contado {

// The main window's adjustment tables on a fresh company database: CAjuste over AJUSTE_CIERRE with the
// window's persistent fields, CAjusteAu over AJUSTE_CIERRE_AUTO with fields from the packet, and
// CTarifas over the rate list; every table fetches 1000 rows per packet. The providers count their
// packet requests and applies, and answer update errors with updateResponse_ after noting the message.
class ClientTableTest : public CompanyTest {
  protected:
    ClientTableTest();
    ~ClientTableTest() override;

    // Three rows for 9 December 2026 (ids 1 to 3, rates 0, 5 and 19, factor 1, prefix FV) and
    // one for the 10th (id 4, rate 19); new rows get identifiers from 101.
    void SeedAdjustments();
    // What the F5 editor does on opening: the first day's rows deleted, one new row per rate, factor 0.8.
    void SeedLikeF5(TDateTime first, TDateTime last);
    // Inserts and posts a CAjuste row.
    void InsertAdjustment(int id, TDateTime first, std::int64_t rateTenThousandths);
    int CurrentId(TClientDataSet* table) const;
    // Identifiers of the visible rows of a table, first to last.
    std::vector<int> VisibleIds(TClientDataSet* table) const;

    TSQLTable* TAjuste;
    TSQLTable* TAjusteAu;
    TDataSetProvider* PAjuste;
    TDataSetProvider* PAjusteAu;
    TClientDataSet* CAjuste;
    TClientDataSet* CAjusteAu;
    TClientDataSet* CTarifas;

    int requests_ = 0;
    int applies_ = 0;
    TResolverResponse updateResponse_ = rrAbort;
    std::vector<std::string> updateErrors_;

  private:
    void AddPersistentFields();
    TDataSetProvider* Provider(const char* name, TSQLTable* source);
    TClientDataSet* ClientTable(const char* name, const char* providerName);

    TFormatSettings settings_ = FormatSettings();
};

}  // namespace contado
