#include <gtest/gtest.h>

#include "app/run/commandline.h"

// Options wherever they stand and in both spellings; the positions are what is left, in order.

namespace contado {
namespace {

struct TLineCase {
    std::vector<std::string> Arguments;
    std::vector<std::string> Positions;
    std::vector<std::string> Options;
};

TEST(CommandLine, OptionsAnywhereInBothSpellingsAndThePositionsInOrder) {
    const std::vector<TLineCase> cases = {
        {{"contado", "srv", "SYSDBA", "clave", "01"}, {"srv", "SYSDBA", "clave", "01"}, {}},
        {{"contado", "--desde", "2026-12-01", "srv", "SYSDBA", "clave", "01"},
         {"srv", "SYSDBA", "clave", "01"},
         {"--desde", "2026-12-01"}},
        {{"contado", "srv", "--desde=2026-12-01", "SYSDBA", "clave", "01", "--ensayo"},
         {"srv", "SYSDBA", "clave", "01"},
         {"--desde", "2026-12-01", "--ensayo"}},
        {{"contado", "", "srv", "", "SYSDBA", "clave", "01", "sobra"}, {"srv", "SYSDBA", "clave", "01", "sobra"}, {}},
        {{"contado", "--otra", "srv", "SYSDBA", "--", "--clave", "01"},
         {"srv", "SYSDBA", "--clave", "01"},
         {"--otra"}},
        {{"contado", "srv", "SYSDBA", "-", "Ñandú", "--desde"}, {"srv", "SYSDBA", "-", "Ñandú"}, {"--desde"}},
    };
    for (const TLineCase& line : cases) {
        const TCommandLine parsed(line.Arguments);
        std::vector<std::string> positions;
        for (std::size_t index = 1; index < parsed.PositionCount(); ++index) {
            positions.push_back(parsed.Position(index));
        }
        EXPECT_EQ(positions, line.Positions) << line.Arguments[1];
        EXPECT_EQ(parsed.Options(), line.Options) << line.Arguments[1];
        EXPECT_EQ(parsed.Position(0), "contado");
        EXPECT_EQ(parsed.Unattended(), line.Positions.size() >= 4);
    }
}

// Whatever could be the password is blanked: the third position, and the third argument as given
// when an empty argument (an unset variable of a unit file) moved the rest.
TEST(CommandLine, EveryArgumentThatMayBeThePasswordIsACandidate) {
    EXPECT_EQ(TCommandLine({"contado", "srv", "SYSDBA", "clave", "01"}).PasswordCandidates(),
              (std::vector<std::size_t>{3}));
    EXPECT_EQ(TCommandLine({"contado", "", "SYSDBA", "clave", "01"}).PasswordCandidates(),
              (std::vector<std::size_t>{4, 3}));
    EXPECT_EQ(TCommandLine({"contado", "--ensayo", "srv", "SYSDBA", "clave", "01"}).PasswordCandidates(),
              (std::vector<std::size_t>{4, 3}));
    EXPECT_EQ(TCommandLine({"contado", "srv"}).PasswordCandidates(), (std::vector<std::size_t>{}));
}

}  // namespace
}  // namespace contado
