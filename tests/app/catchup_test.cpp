#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/run/exitstatus.h"
#include "app/run/runoptions.h"
#include "app/run/runreport.h"
#include "core/datetime.h"
#include "core/formatsettings.h"
#include "data/sql/sqlquery.h"
#include "tests/app/companyprobe.h"
#include "data/sql/sqlconnection.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"
#include "tests/support/registrysandbox.h"

// The unattended run catching up missed days, its report on standard output, and its dry run; all
// with the real program on a company with cash sales on each of the last ten days, none posted.

namespace contado {
namespace {

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";

std::string DaysAgo(int days) {
    return IsoDateText(Today() - days);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

class CatchUp : public testing::Test {
  protected:
    void SetUp() override { sandbox_.PointAtApplicationDirectory(); }

    TChildResult Run(const std::vector<std::string>& options, const std::string& company = "") {
        std::vector<std::string> arguments{company_.ServerDir(), "SYSDBA", "masterkey",
                                           company.empty() ? company_.CompanyCode() : company};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunChild(kProgram, arguments);
    }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }
    std::string Count(const std::string& select) { return Probe().Scalar(select); }

    // Every user table's rows as text, for comparing a database before and after.
    std::string Snapshot() {
        std::string all;
        for (const auto& relation : Probe().Rows("select trim(RDB$RELATION_NAME) from RDB$RELATIONS where "
                                                 "RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null order by 1")) {
            all += "#" + relation[0] + "\n";
            for (const auto& row : Probe().Rows("select * from " + relation[0] + " order by 1")) {
                for (const std::string& value : row) {
                    all += value + "|";
                }
                all += "\n";
            }
        }
        return all;
    }
    // The report of the vouchers the local book holds for these days, read back from the ledger with
    // the posting procedure's own answer: one row per voucher written, with its totals.
    std::vector<std::string> ReportFromTheLedger(int firstDaysAgo) {
        TComponent owner;
        auto* connection = new TSQLConnection(&owner);
        connection->SetDriverName("Interbase");
        connection->SetLibraryName("libfbdriver.so");
        connection->SetGetDriverFunc("getSQLDriverFIREBIRD");
        connection->SetVendorLib("libfbclient.so.2");
        connection->Params().SetLines({"Database=" + company_.DatabasePath(), "User_Name=SYSDBA", "SQLDialect=3"});
        std::ostringstream out;
        TRunReport report(out);
        for (int ago = firstDaysAgo; ago >= 0; --ago) {
            TSQLQuery query(&owner);
            query.SetSQLConnection(connection);
            query.SetCommandText(
                "select c.COMP_ID as COMPROBANTE, c.COMP_FECHA as FECHA, c.COMP_PREFIJO as PREFIJO, "
                "c.COMP_NUMERO as NUMERO, cast(coalesce(sum(d.CODE_DEBITO), 0) as numeric(15, 2)) as DEBITO, "
                "cast(coalesce(sum(d.CODE_CREDITO), 0) as numeric(15, 2)) as CREDITO, c.COMP_FACTURAS as FACTURAS "
                "from COMPROBANTE c left join COMPROBANTE_DETALLE d on d.CODE_COMPROBANTE = c.COMP_ID "
                "where c.COMP_LIBRO = 'LOCAL' and c.COMP_FECHA = '" + DaysAgo(ago) + "' "
                "group by 1, 2, 3, 4, 7 order by 2, 3");
            query.Open();
            report.WriteDay(Today() - ago, query);
            query.Close();
        }
        connection->Close();
        return Lines(out.str());
    }

    TTestCompany company_{10};
    TRegistrySandbox sandbox_;
    std::unique_ptr<TCompanyProbe> probe_;
};

TEST_F(CatchUp, EachDayIsPostedOnceBalancedAndTheReportIsWhatTheProcedureReturned) {
    const TChildResult run = Run({"--desde", DaysAgo(9)});
    ASSERT_EQ(run.ExitCode, esDone) << run.StandardError;
    const std::vector<std::string> expected = ReportFromTheLedger(9);
    EXPECT_EQ(Lines(run.StandardOutput), expected);
    ASSERT_GT(expected.size(), 10u) << "a header and at least one voucher a day";
    EXPECT_EQ(expected[0], "DIA\tCOMPROBANTE\tFECHA\tPREFIJO\tNUMERO\tDEBITO\tCREDITO\tFACTURAS");

    EXPECT_EQ(Count("select count(distinct COMP_FECHA) from COMPROBANTE"), "10");
    EXPECT_EQ(Count("select count(*) from (select COMP_LIBRO, COMP_FECHA, COMP_PREFIJO from COMPROBANTE "
                    "group by 1, 2, 3 having count(*) > 1)"),
              "0")
        << "no day posted twice";
    EXPECT_EQ(Count("select count(*) from COMPROBANTE c where (select sum(CODE_DEBITO) - sum(CODE_CREDITO) "
                    "from COMPROBANTE_DETALLE where CODE_COMPROBANTE = c.COMP_ID) <> 0"),
              "0")
        << "every voucher balances";

    const std::string vouchers = Count("select count(*) from COMPROBANTE");
    const TChildResult again = Run({"--desde", DaysAgo(9)});
    EXPECT_EQ(again.ExitCode, esNothingPosted) << again.StandardError;
    EXPECT_EQ(Lines(again.StandardOutput).size(), 1u) << "the header alone";
    EXPECT_NE(again.StandardError.find("No se pudo contabilizar las facturas."), std::string::npos);
    EXPECT_EQ(Count("select count(*) from COMPROBANTE"), vouchers);
}

// A week back every day from a timer must not touch what was posted: a day that posts nothing keeps
// its closing adjustments row for row (the clerk's factors of an F5), while an unposted day gets
// the ones planned for it. Each day is said on standard error with its place in the run.
TEST_F(CatchUp, DaysThatPostNothingKeepTheirAdjustmentsAndEachDayIsCounted) {
    const TChildResult earlier = Run({"--desde", DaysAgo(4)});
    ASSERT_EQ(earlier.ExitCode, esDone) << earlier.StandardError;
    Probe().Execute("update AJUSTE_CIERRE set AJCI_FACTOR = 0.33 where AJCI_FECINI = '" + DaysAgo(3) + "'");
    Probe().Execute("insert into AJUSTE_CIERRE values (0, '" + DaysAgo(2) + "', '" + DaysAgo(2) +
                    "', 0, 0.44, 'CA')");
    const std::string select = "select cast(AJCI_FECINI as varchar(10)), cast(AJCI_PORC as varchar(20)), "
                               "cast(AJCI_FACTOR as varchar(20)), coalesce(AJCI_PREFNO, '-') "
                               "from AJUSTE_CIERRE where AJCI_FECINI >= '" + DaysAgo(6) + "' order by 1, 2, 4";
    const auto before = Probe().Rows(select);

    const TChildResult week = Run({"--desde=" + DaysAgo(6)});
    EXPECT_EQ(week.ExitCode, esDone) << week.StandardError;
    auto after = Probe().Rows(select);
    std::vector<std::vector<std::string>> keptDays;
    std::vector<std::vector<std::string>> newDays;
    for (const auto& row : after) {
        (row[0] >= DaysAgo(4) ? keptDays : newDays).push_back(row);
    }
    std::vector<std::vector<std::string>> beforeKept;
    for (const auto& row : before) {
        if (row[0] >= DaysAgo(4)) {
            beforeKept.push_back(row);
        }
    }
    EXPECT_EQ(keptDays, beforeKept) << "posted days keep their rows as they were";
    EXPECT_FALSE(newDays.empty()) << "the two unposted days got theirs";
    for (int number = 1; number <= 7; ++number) {
        EXPECT_NE(week.StandardError.find("(día " + std::to_string(number) + " de 7)"), std::string::npos)
            << week.StandardError;
    }
    EXPECT_NE(week.StandardError.find("Día " + DaysAgo(0) + " (día 7 de 7): nada que contabilizar"),
              std::string::npos)
        << week.StandardError;
}

// A full packet of the planned-adjustment lookup (1000 rows and more of one rate covering the day)
// must leave the shared query free for the posting.
TEST_F(CatchUp, ThousandsOfPlannedRowsOfOneRateDoNotStopThePosting) {
    const std::vector<std::pair<int, std::vector<std::string>>> runs = {{1000, {}},
                                                                        {5000, {"--desde", DaysAgo(3)}}};
    for (const auto& [rows, options] : runs) {
        SCOPED_TRACE(rows);
        Probe().Execute("delete from AJUSTE_CIERRE_AUTO where AJCI_ID >= 100000");
        Probe().Execute(
            "execute block as declare i integer = 0; begin while (i < " + std::to_string(rows) +
            ") do begin insert into AJUSTE_CIERRE_AUTO values (100000 + :i, current_date - 400 + mod(:i, 300), "
            "current_date + 30, 19, 0.8, null); i = i + 1; end end");
        const TChildResult run = Run(options);
        EXPECT_EQ(run.ExitCode, esDone) << run.StandardError;
    }
}

TEST_F(CatchUp, ThePlainRunReportsTodayAndNothingElseGoesToStandardOutput) {
    const TChildResult run = Run({});
    ASSERT_EQ(run.ExitCode, esDone) << run.StandardError;
    EXPECT_EQ(Lines(run.StandardOutput), ReportFromTheLedger(0));
    EXPECT_EQ(Count("select count(distinct COMP_FECHA) from COMPROBANTE"), "1");
}

TEST_F(CatchUp, EachDayGetsTheAdjustmentsPlannedForIt) {
    Probe().Execute("delete from AJUSTE_CIERRE_AUTO");
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (0, '" + DaysAgo(5) + "', '" + DaysAgo(3) +
                    "', 19, 0.85, 'CA')");
    const TChildResult run = Run({"--desde", DaysAgo(6)});
    ASSERT_EQ(run.ExitCode, esDone) << run.StandardError;
    using TRows = std::vector<std::vector<std::string>>;
    for (int ago = 6; ago >= 0; --ago) {
        const bool planned = ago >= 3 && ago <= 5;
        const TRows expected = planned ? TRows{{DaysAgo(ago), "19.0000", "0.8500", "CA"}} : TRows{};
        EXPECT_EQ(Probe().Rows("select cast(AJCI_FECFIN as varchar(10)), cast(AJCI_PORC as varchar(20)), "
                               "cast(AJCI_FACTOR as varchar(20)), coalesce(AJCI_PREFNO, '-') from AJUSTE_CIERRE "
                               "where AJCI_FECINI = '" + DaysAgo(ago) + "'"),
                  expected)
            << DaysAgo(ago);
    }
}

TEST_F(CatchUp, ARejectedAdjustmentIsLoggedAndTheDayPostedAllTheSame) {
    Probe().Execute("delete from AJUSTE_CIERRE_AUTO");
    Probe().Execute("insert into AJUSTE_CIERRE_AUTO values (0, '" + DaysAgo(4) + "', '" + DaysAgo(4) +
                    "', 19, 0.95, null)");
    Probe().Execute("alter table AJUSTE_CIERRE add constraint CK_AJUSTE_FACTOR check (AJCI_FACTOR < 0.9)");
    const TChildResult run = Run({"--desde", DaysAgo(6)});
    ASSERT_EQ(run.ExitCode, esDone) << run.StandardError;
    EXPECT_NE(run.StandardError.find("CK_AJUSTE_FACTOR"), std::string::npos) << run.StandardError;
    std::ifstream log(sandbox_.ApplicationDirectory() / "ERRORES.TXT");
    const std::string logged((std::istreambuf_iterator<char>(log)), {});
    EXPECT_NE(logged.find("CK_AJUSTE_FACTOR"), std::string::npos) << logged;
    EXPECT_EQ(Count("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = '" + DaysAgo(4) + "'"), "0");
    EXPECT_EQ(Count("select count(distinct COMP_FECHA) from COMPROBANTE"), "7");
}

TEST_F(CatchUp, AFailingDayStopsTheRunNamedAndTheDaysBeforeStayPosted) {
    Probe().Execute("create exception E_PRUEBA 'cierre bloqueado'");
    Probe().Execute("create trigger TR_PRUEBA for COMPROBANTE before insert as begin if (NEW.COMP_FECHA = '" +
                    DaysAgo(3) + "') then exception E_PRUEBA; end");
    const TChildResult run = Run({"--desde", DaysAgo(6)});
    EXPECT_EQ(run.ExitCode, esRunFailed);
    EXPECT_NE(run.StandardError.find("No se pudo contabilizar el día " + DaysAgo(3) + ": "), std::string::npos)
        << run.StandardError;
    EXPECT_NE(run.StandardError.find("cierre bloqueado"), std::string::npos) << run.StandardError;
    EXPECT_EQ(Count("select count(distinct COMP_FECHA) from COMPROBANTE"), "3");
    EXPECT_EQ(Count("select count(*) from COMPROBANTE where COMP_FECHA >= '" + DaysAgo(3) + "'"), "0");
}

TEST_F(CatchUp, AnUnreachableCompanyStopsAtOnce) {
    const TChildResult run = Run({"--desde", DaysAgo(6)}, "99");
    EXPECT_EQ(run.ExitCode, esRunFailed);
    EXPECT_TRUE(run.StandardOutput.empty());
    EXPECT_EQ(Count("select count(*) from COMPROBANTE"), "0");
}

TEST_F(CatchUp, BadDatesAreRefusedBeforeAnythingIsOpened) {
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--desde", "2026-02-30"}, {"--desde", "9/12/2026"}, {"--desde", DaysAgo(-1)},
          {"--desde", DaysAgo(367)}, {"--desde"}, {"--dsede", DaysAgo(1)}}) {
        const TChildResult run = Run(options);
        EXPECT_EQ(run.ExitCode, esRunFailed) << options.back();
        EXPECT_TRUE(run.StandardOutput.empty()) << options.back();
    }
    EXPECT_NE(Run({"--desde", DaysAgo(-1)}).StandardError.find("es posterior a hoy"), std::string::npos);
    EXPECT_NE(Run({"--desde", DaysAgo(367)}).StandardError.find("hace más de 366 días"), std::string::npos);
    EXPECT_EQ(Count("select count(*) from COMPROBANTE"), "0");
    EXPECT_EQ(Run({"--desde", DaysAgo(366), "--ensayo"}).ExitCode, esDone) << "366 days back is allowed";
}

// Identifiers a database draws from its generators advance even in a transaction that is rolled
// back, so a dry run's report differs from the real one in those alone: here the voucher's
// identifier, the report's second column.
std::vector<std::string> WithoutVoucherIdentifiers(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        kept.push_back(line.substr(0, first) + line.substr(second));
    }
    return kept;
}

TEST_F(CatchUp, ADryRunReportsTheRunAndLeavesEveryTableAsItWas) {
    const std::string before = Snapshot();
    const TChildResult dry = Run({"--desde", DaysAgo(4), "--ensayo"});
    ASSERT_EQ(dry.ExitCode, esDone) << dry.StandardError;
    EXPECT_EQ(Snapshot(), before);

    const TChildResult real = Run({"--desde", DaysAgo(4)});
    ASSERT_EQ(real.ExitCode, esDone) << real.StandardError;
    EXPECT_EQ(WithoutVoucherIdentifiers(Lines(dry.StandardOutput)),
              WithoutVoucherIdentifiers(Lines(real.StandardOutput)));
    EXPECT_NE(Snapshot(), before);

    // The plain form too; with everything posted it ends as the real run would, with 1.
    const std::string posted = Snapshot();
    EXPECT_EQ(Run({"--ensayo"}).ExitCode, esNothingPosted);
    EXPECT_EQ(Snapshot(), posted);
}

}  // namespace
}  // namespace contado
