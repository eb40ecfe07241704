#include <gtest/gtest.h>

#include "tests/server/servercompanyfixture.h"
#include "tests/support/runningchild.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";

// The real program's unattended run against the company over TCP, the password from ISC_PASSWORD.
class ServerRun : public ServerCompanyTest {
  protected:
    void SetUp() override {
        ServerCompanyTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        Probe().Execute("insert into AJUSTE_CIERRE values (0, current_date, current_date, 19, 0.7, 'FV')");
    }
    int Run(const std::string& password, std::string& output) {
        TRunningChild child(kProgram, {ServerText(), "SYSDBA", "-", company_.CompanyCode()},
                            {{"QT_QPA_PLATFORM", "offscreen"}, {"ISC_PASSWORD", password}});
        const std::optional<int> status = child.WaitFor(120s);
        output = child.Output();
        return status.value_or(-1);
    }
};

TEST_F(ServerRun, TheUnattendedRunOverTcpRebuildsTodaysAdjustmentsPostsTodayThenFindsNothing) {
    std::string output;
    EXPECT_EQ(Run(password_, output), 0) << output;
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date and "
                             "AJCI_PORC = 19 and AJCI_FACTOR = 0.85 and AJCI_PREFNO = 'CA'"),
              "1")
        << "today's adjustments rebuilt from the planned ones";
    EXPECT_NE(Probe().Scalar("select count(*) from COMPROBANTE where COMP_FECHA = current_date"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from (select CODE_COMPROBANTE from COMPROBANTE_DETALLE "
                             "group by CODE_COMPROBANTE having sum(CODE_DEBITO) <> sum(CODE_CREDITO))"),
              "0");
    const std::string posted = Probe().Scalar("select count(*) from FACTURA_CONTABLE");
    EXPECT_NE(posted, "0");

    EXPECT_EQ(Run(password_, output), 1) << output;
    EXPECT_NE(output.find("No se pudo contabilizar las facturas."), std::string::npos) << output;
    EXPECT_EQ(Probe().Scalar("select count(*) from FACTURA_CONTABLE"), posted);
}

TEST_F(ServerRun, AWrongPasswordOverTcpEndsWithStatus2AndTheServersMessageAndStoresNothing) {
    std::string output;
    EXPECT_EQ(Run(password_ + "x", output), 2) << output;
    EXPECT_NE(output.find("Your user name and password are not defined"), std::string::npos) << output;
    EXPECT_EQ(Probe().Scalar("select count(*) from COMPROBANTE"), "0");
    EXPECT_EQ(Probe().Scalar("select count(*) from AJUSTE_CIERRE where AJCI_FECINI = current_date"), "1");
}

}  // namespace
}  // namespace contado
