#include "tests/companydb/companyledger.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace contado {

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char character : text) {
        quoted += character;
        if (character == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

std::string TextOf(const std::optional<std::string>& value) {
    return value.value_or("");
}

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char character) { return std::isdigit(character) != 0; });
}

}  // namespace

std::int64_t Cents(const std::optional<std::string>& amount) {
    const std::string text = TextOf(amount);
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = text.substr(negative ? 1 : 0);
    const auto point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
    fraction.resize(std::max<std::size_t>(fraction.size(), 2), '0');
    if (!AllDigits(whole) || !AllDigits(fraction) ||
        fraction.find_first_not_of('0', 2) != std::string::npos) {
        throw std::invalid_argument("not an amount in cents: '" + text + "'");
    }
    const std::int64_t cents = std::stoll(whole) * 100 + std::stoll(fraction.substr(0, 2));
    return negative ? -cents : cents;
}

std::ostream& operator<<(std::ostream& stream, const TVoucherLine& line) {
    return stream << "{" << line.Account << " debit " << line.Debit << " credit " << line.Credit << " rate '"
                  << line.Rate << "' base " << line.Base << "}";
}

int TCompanyLedger::AddInvoice(const std::string& prefix, int number, const std::string& pointOfSale,
                               const std::string& date, const std::string& taxId,
                               const std::vector<TSaleLine>& lines) {
    auto rows = session_.Query(
        "insert into FACTURA (FACT_ID, FACT_PREFIJO, FACT_NUMERO, FACT_PUNTO_VENTA, FACT_FECHA, FACT_NIT) "
        "values (0, " +
        Quoted(prefix) + ", " + std::to_string(number) + ", " + Quoted(pointOfSale) + ", " + Quoted(date) +
        ", " + Quoted(taxId) + ") returning FACT_ID");
    int invoice = std::stoi(TextOf(rows.at(0).at(0)));
    int lineNumber = 0;
    for (const auto& line : lines) {
        session_.Execute(
            "insert into FACTURA_DETALLE (FADE_FACTURA, FADE_LINEA, FADE_PORC, FADE_BASE, FADE_IVA) values "
            "(" +
            std::to_string(invoice) + ", " + std::to_string(++lineNumber) + ", " + line.Rate + ", " +
            line.Base + ", " + line.Vat + ")");
    }
    return invoice;
}

int TCompanyLedger::AddCashSale(int number, const std::string& date, const std::vector<TSaleLine>& lines) {
    return AddInvoice("FV", number, "01", date, "222222222222", lines);
}

void TCompanyLedger::AddClosingAdjustment(const std::string& firstDay, const std::string& lastDay,
                                          const std::string& rate, const std::string& factor,
                                          const std::string& prefix) {
    session_.Execute(
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO) "
        "values (0, " +
        Quoted(firstDay) + ", " + Quoted(lastDay) + ", " + rate + ", " + factor + ", " +
        (prefix.empty() ? std::string("null") : Quoted(prefix)) + ")");
}

std::vector<TPostedVoucher> TCompanyLedger::Post(const std::string& procedure, const std::string& firstDay,
                                                 const std::string& lastDay) {
    std::vector<TPostedVoucher> vouchers;
    for (const auto& row : session_.Query("select * from " + procedure + "(" + Quoted(firstDay) + ", " +
                                          Quoted(lastDay) + ")")) {
        vouchers.push_back({std::stoi(TextOf(row.at(0))), TextOf(row.at(1)), TextOf(row.at(2)),
                            std::stoi(TextOf(row.at(3))), Cents(row.at(4)), Cents(row.at(5)),
                            std::stoi(TextOf(row.at(6)))});
    }
    return vouchers;
}

std::vector<TVoucherLine> TCompanyLedger::Lines(int voucherId) {
    std::vector<TVoucherLine> lines;
    for (const auto& row : session_.Query(
             "select CODE_CUENTA, CODE_DEBITO, CODE_CREDITO, CODE_PORC, CODE_BASE from COMPROBANTE_DETALLE "
             "where CODE_COMPROBANTE = " +
             std::to_string(voucherId) + " order by CODE_LINEA")) {
        lines.push_back({TextOf(row.at(0)), Cents(row.at(1)), Cents(row.at(2)), TextOf(row.at(3)),
                         row.at(4) ? Cents(row.at(4)) : 0});
    }
    return lines;
}

std::vector<std::string> TCompanyLedger::BooksOf(int invoiceId) {
    std::vector<std::string> books;
    for (const auto& row : session_.Query("select FACO_LIBRO from FACTURA_CONTABLE where FACO_FACTURA = " +
                                          std::to_string(invoiceId) + " order by FACO_LIBRO")) {
        books.push_back(TextOf(row.at(0)));
    }
    return books;
}

}  // namespace contado
