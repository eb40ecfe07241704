#pragma once

#include <string>

#include "data/sql/sqlconnection.h"
#include "tests/support/companydatabase.h"

namespace contado {

// A fresh company database for a benchmark (with the demo history of demoDays days, when given) and the
// main window's connection to it, open.
class TBenchCompany {
  public:
    explicit TBenchCompany(int demoDays = 0) : company_(demoDays) {
        connection_.SetName("Tandrel");
        connection_.SetConnectionName("Tandrel");
        connection_.SetDriverName("Interbase");
        connection_.SetLibraryName("libfbdriver.so");
        connection_.SetGetDriverFunc("getSQLDriverFIREBIRD");
        connection_.SetVendorLib("libfbclient.so.2");
        connection_.Params().SetLines({"Database=" + Path(), "User_Name=sysdba", "Password=masterkey",
                                       "SQLDialect=3", "Interbase TransIsolation=ReadCommited"});
        connection_.Open();
    }
    ~TBenchCompany() { connection_.Close(); }

    std::string Path() const { return company_.DatabasePath(); }
    const std::string& ServerDir() const { return company_.ServerDir(); }
    const std::string& CompanyCode() const { return company_.CompanyCode(); }
    TSQLConnection* Connection() { return &connection_; }

  private:
    TTestCompany company_;
    TSQLConnection connection_;
};

}  // namespace contado
