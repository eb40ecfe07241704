#include <gtest/gtest.h>

#include "data/sql/parametermarkers.h"

namespace contado {
namespace {

TEST(ParameterMarkers, MarkersStartAfterSeparatorsAndEndAtTheirOwn) {
    const std::string sql = "select * from T where A=:A and B = :Bee\r\nand C in (:C1,:C2)or D<:D";
    EXPECT_EQ(TParameterMarkers::Names(sql, '"'), (std::vector<std::string>{"A", "Bee", "C1", "C2"}));
    EXPECT_EQ(TParameterMarkers::ReplaceWithPlaceholders(sql, '"'),
              "select * from T where A= ?  and B =  ? \r\nand C in ( ? , ? )or D<:D");
}

TEST(ParameterMarkers, QuotedTextAndTimeLiteralsAreLeftAlone) {
    const std::string sql = "update T set N = ':X', \"A:B\" = :V where H = '10:30' and G =:G";
    EXPECT_EQ(TParameterMarkers::Names(sql, '"'), (std::vector<std::string>{"V", "G"}));
    EXPECT_EQ(TParameterMarkers::ReplaceWithPlaceholders(sql, '"'),
              "update T set N = ':X', \"A:B\" =  ?  where H = '10:30' and G = ? ");
    EXPECT_EQ(TParameterMarkers::Names("select a:b from T", '"'), std::vector<std::string>{});
}

TEST(ParameterMarkers, GeneratedStatementsPassUnchanged) {
    const std::string sql =
        "update \"AJUSTE_CIERRE\"  set\r\n \"AJCI_FACTOR\" = ?\r\nwhere\r\n \"AJCI_ID\" = ?\r\n";
    EXPECT_EQ(TParameterMarkers::ReplaceWithPlaceholders(sql, '"'), sql);
}

}  // namespace
}  // namespace contado
