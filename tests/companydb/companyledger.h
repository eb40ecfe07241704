#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/companydb/firebirdsession.h"

namespace contado {

// One line of a sale: VAT rate, taxable base and VAT, as SQL literals ("19", "100.05").
struct TSaleLine {
    std::string Rate;
    std::string Base;
    std::string Vat;
};

// A row answered by a posting procedure; amounts in cents.
struct TPostedVoucher {
    int Id = 0;
    std::string Date;
    std::string Prefix;
    int Number = 0;
    std::int64_t Debit = 0;
    std::int64_t Credit = 0;
    int Invoices = 0;
};

// A ledger line of a voucher; amounts in cents, the rate as the server writes it ("19.0000"; empty on
// the cash line).
struct TVoucherLine {
    std::string Account;
    std::int64_t Debit = 0;
    std::int64_t Credit = 0;
    std::string Rate;
    std::int64_t Base = 0;

    bool operator==(const TVoucherLine&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const TVoucherLine& line);

// Amount text such as "-12.5" or "1234.5600" in cents; throws on fractions of a cent and on non-numbers.
std::int64_t Cents(const std::optional<std::string>& amount);

// Sales, adjustments and postings of a company database, written and read through one session.
class TCompanyLedger {
  public:
    explicit TCompanyLedger(TFirebirdSession& session) : session_(session) {}

    // Writes an invoice with its lines; dates as 'yyyy-mm-dd'. Answers the invoice id.
    int AddInvoice(const std::string& prefix, int number, const std::string& pointOfSale,
                   const std::string& date, const std::string& taxId, const std::vector<TSaleLine>& lines);
    // A cash-customer invoice of the configured prefix and point of sale.
    int AddCashSale(int number, const std::string& date, const std::vector<TSaleLine>& lines);
    void AddClosingAdjustment(const std::string& firstDay, const std::string& lastDay,
                              const std::string& rate, const std::string& factor, const std::string& prefix);

    // Selects from the posting procedure ("contado_ralvek" or "contado_ralvek_niif") as the program does.
    std::vector<TPostedVoucher> Post(const std::string& procedure, const std::string& firstDay,
                                     const std::string& lastDay);
    std::vector<TVoucherLine> Lines(int voucherId);
    // The books ("LOCAL", "NIIF") in which the invoice is marked as posted, in order.
    std::vector<std::string> BooksOf(int invoiceId);

  private:
    TFirebirdSession& session_;
};

}  // namespace contado
