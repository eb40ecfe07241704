#pragma once

#include <memory>
#include <string>
#include <vector>

namespace contado {

class TRunningChild;
class TSQLConnection;

// A second connection to a company database, for tests to prepare rows and read what the
// program stored. Values are read as text: cast dates and decimals in the select for a fixed form.
class TCompanyProbe {
  public:
    // The database path or server text; SYSDBA with the password given.
    explicit TCompanyProbe(const std::string& database, const std::string& password = "masterkey");
    ~TCompanyProbe();

    std::vector<std::vector<std::string>> Rows(const std::string& select);
    std::string Scalar(const std::string& select);
    void Execute(const std::string& statement);
    // Later statements run in one transaction until it is rolled back.
    void StartTransaction();
    void Rollback();
    // Waits up to a minute, while the child runs, for a statement of another attachment whose text
    // holds every word to be running (or waiting on a lock); false when none came.
    bool AwaitStatement(TRunningChild& child, const std::vector<std::string>& words);

  private:
    std::unique_ptr<TSQLConnection> connection_;
};

}  // namespace contado
