#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
}  // namespace Firebird

namespace contado {

// An error reported by Firebird, with the server's formatted message.
class TFirebirdError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One result row, every column as the server writes it as text; null is empty.
using TTextRow = std::vector<std::optional<std::string>>;

// A test's own connection to a company database through the Firebird OO API. Statements run in the
// transaction started with StartTransaction, or each in a transaction of its own committed on success.
class TFirebirdSession {
  public:
    explicit TFirebirdSession(const std::string& databasePath);
    ~TFirebirdSession();
    TFirebirdSession(const TFirebirdSession&) = delete;
    TFirebirdSession& operator=(const TFirebirdSession&) = delete;

    // Read committed, reading the last committed version and waiting on locks, as the program's clients do.
    void StartTransaction();
    void Commit();
    void Rollback();

    std::vector<TTextRow> Query(const std::string& sql);
    // The plan Firebird chose for a statement, as isql's SET PLAN shows it ("PLAN ...").
    std::string Plan(const std::string& sql);
    // Answers the number of rows the statement changed.
    std::uint64_t Execute(const std::string& sql);

  private:
    template <typename Work>
    auto InTransaction(Work work);

    Firebird::IAttachment* attachment_ = nullptr;
    Firebird::ITransaction* transaction_ = nullptr;
};

}  // namespace contado
