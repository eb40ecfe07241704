#include "tests/app/companyprobe.h"

#include <chrono>
#include <thread>

#include "data/fields/field.h"
#include "data/sql/sqlconnection.h"
#include "data/sql/sqlquery.h"
#include "tests/support/runningchild.h"

namespace contado {

TCompanyProbe::TCompanyProbe(const std::string& database, const std::string& password)
    : connection_(std::make_unique<TSQLConnection>()) {
    connection_->SetName("Probe");
    connection_->SetConnectionName("Probe");
    connection_->SetDriverName("Interbase");
    connection_->SetLibraryName("libfbdriver.so");
    connection_->SetGetDriverFunc("getSQLDriverFIREBIRD");
    connection_->SetVendorLib("libfbclient.so.2");
    connection_->Params().SetLines({"Database=" + database, "User_Name=SYSDBA", "Password=" + password,
                                    "SQLDialect=3", "WaitOnLocks=True"});
    connection_->SetConnected(true);
}

TCompanyProbe::~TCompanyProbe() = default;

std::vector<std::vector<std::string>> TCompanyProbe::Rows(const std::string& select) {
    TSQLQuery query;
    query.SetSQLConnection(connection_.get());
    query.SetCommandText(select);
    query.Open();
    std::vector<std::vector<std::string>> rows;
    for (; !query.Eof(); query.Next()) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int column = 0; column < query.FieldCount(); ++column) {
            row.push_back(query.Fields(column)->AsString());
        }
    }
    return rows;
}

std::string TCompanyProbe::Scalar(const std::string& select) {
    const auto rows = Rows(select);
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

void TCompanyProbe::Execute(const std::string& statement) {
    connection_->Execute(statement);
}

void TCompanyProbe::StartTransaction() {
    connection_->StartTransaction(connection_->TransactionDesc());
}

void TCompanyProbe::Rollback() {
    connection_->Rollback(connection_->TransactionDesc());
}

bool TCompanyProbe::AwaitStatement(TRunningChild& child, const std::vector<std::string>& words) {
    std::string select =
        "select count(*) from MON$STATEMENTS where MON$STATE <> 0 and MON$ATTACHMENT_ID <> "
        "current_connection";
    for (const std::string& word : words) {
        select += " and MON$SQL_TEXT containing '" + word + "'";
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline && child.Running()) {
        if (Scalar(select) != "0") {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace contado
