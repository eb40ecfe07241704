#include <gtest/gtest.h>

#include "app/run/errortranslator.h"

namespace contado {
namespace {

const std::string kPrimary =
    "SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint \"UQ_AJUSTE_CIERRE_DIA\" on table "
    "\"AJUSTE_CIERRE\"";
const std::string kForeign =
    "SQL Server Error: violation of FOREIGN KEY constraint \"FK_AJUSTE_PREFIJO\" on table \"AJUSTE_CIERRE\"";

TEST(ErrorTranslator, RejectedChangesNameTheTable) {
    EXPECT_EQ(TErrorTranslator::ForRejectedChange(kPrimary, "Ajuste"),
              "Ya existe el registro en la tabla Ajuste");
    EXPECT_EQ(TErrorTranslator::ForRejectedChange(kPrimary, "AjusteAu"),
              "Ya existe el registro en la tabla AjusteAu");
    EXPECT_EQ(TErrorTranslator::ForRejectedChange(kForeign, "Ajuste"),
              "Está borrando o insertando un registro en la tabla Ajuste que tiene una relación con otra "
              "tabla.");
}

TEST(ErrorTranslator, RejectedChangesOutOfPlaceOrShortAreShownUnchanged) {
    // A status text before the server's own text moves the wording out of place.
    const std::string twoLines = "SQLDriver Error: [0x0015]: Connection failed\r\n" + kPrimary;
    EXPECT_EQ(TErrorTranslator::ForRejectedChange(twoLines, "Ajuste"), twoLines);
    EXPECT_EQ(TErrorTranslator::ForRejectedChange("SQL Server Error: violation", "Ajuste"),
              "SQL Server Error: violation");
    EXPECT_EQ(TErrorTranslator::ForRejectedChange("", "Ajuste"), "");
    EXPECT_EQ(TErrorTranslator::ForRejectedChange("Record not found or changed by another user", "Ajuste"),
              "Record not found or changed by another user");
}

TEST(ErrorTranslator, ClientErrorsListRequiredFieldsWithTheTrailingComma) {
    EXPECT_EQ(TErrorTranslator::ForClientError("Field 'AJCI_ID' must have a value", {"AJCI_ID"}, {}),
              "Los campos AJCI_ID,  son obligatorios.");
    EXPECT_EQ(TErrorTranslator::ForClientError("Field 'X' must have a value", {}, {}),
              "Los campos  son obligatorios.");
}

TEST(ErrorTranslator, ClientErrorsOfTheEngine) {
    EXPECT_EQ(TErrorTranslator::ForClientError("key violation.", {}, {"AJCI_FECINI", "AJCI_PORC"}),
              "Ya existe un registro con el mismo AJCI_FECINI AJCI_PORC ");
    EXPECT_EQ(TErrorTranslator::ForClientError("Key violation.", {}, {"AJCI_ID"}), "Key violation.");
    EXPECT_EQ(TErrorTranslator::ForClientError("Cannot delete master record with details.", {}, {}),
              "Error. Borre antes los detalles dependientes del registro.");
    EXPECT_EQ(TErrorTranslator::ForClientError("Dataset not in edit or insert mode", {}, {}),
              "Dataset not in edit or insert mode");
}

}  // namespace
}  // namespace contado
