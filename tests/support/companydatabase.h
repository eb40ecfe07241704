#pragma once

#include <string>
#include <vector>

namespace contado {

// The output and exit status of a finished child process.
struct TProcessResult {
    int ExitCode = -1;
    std::string Output;
};

// A fresh company database for one test: SERVER_DIR/datos/COMPANY/tandrel.fdb in a temporary server folder
// of its own, removed with the object. The database comes from scripts/create-company-db.sh; a template is
// made once per content of the script and its SQL files (and per day, for demo data) and copied per test.
class TTestCompany {
  public:
    // demoDays 0: schema and reference data only; otherwise the demo history of that many days.
    explicit TTestCompany(int demoDays = 0);
    ~TTestCompany();
    TTestCompany(const TTestCompany&) = delete;
    TTestCompany& operator=(const TTestCompany&) = delete;

    const std::string& ServerDir() const { return serverDir_; }
    const std::string& CompanyCode() const { return companyCode_; }
    std::string DatabasePath() const;

    // Runs scripts/create-company-db.sh with the given arguments and waits for it.
    static TProcessResult RunCreationScript(const std::vector<std::string>& arguments);

  private:
    std::string serverDir_;
    std::string companyCode_ = "01";
};

}  // namespace contado
