#include "tests/data/companyfixture.h"

#include "data/fields/field.h"
#include "data/sql/sqlquery.h"
#include "tests/data/sql/connectionfixtures.h"

namespace contado {

CompanyTest::CompanyTest(int demoDays) : company_(demoDays), Tandrel(new TSQLConnection(&form_)) {
    ConfigureLikeTheMainWindow(*Tandrel, "libfbdriver.so", "getSQLDriverFIREBIRD", company_.DatabasePath());
}

std::int64_t CompanyTest::Execute(const std::string& sql) {
    return Tandrel->Execute(sql);
}

std::string CompanyTest::Scalar(const std::string& sql) {
    TSQLQuery query;
    query.SetSQLConnection(Tandrel);
    query.SetCommandText(sql);
    query.Open();
    return query.Fields(0)->AsString();
}

std::int64_t CompanyTest::Count(const std::string& tableAndCondition) {
    return std::stoll(Scalar("select count(*) from " + tableAndCondition));
}

void CompanyTest::FillPlannedAdjustments(int n) {
    Execute("execute block as declare i integer = 1; begin while (i <= " + std::to_string(n) +
            ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, '2024-01-01', '2024-12-31', 19, 0.95, "
            "null); i = i + 1; end end");
}

}  // namespace contado
