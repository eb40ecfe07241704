#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace contado {

// The program's arguments split into the four positions (server, user, password, company) and the
// options. Options ("--desde AAAA-MM-DD", "--desde=AAAA-MM-DD", "--ensayo" and any other "--"
// word) are recognised wherever they stand; "--" ends them, so a later word starting with "--" is
// a position. Empty arguments are dropped; the positions are the remaining arguments in order.
class TCommandLine {
  public:
    // arguments: argv as given, the program itself first.
    explicit TCommandLine(const std::vector<std::string>& arguments);

    // Position 1 to 4 and beyond; empty when missing. Position 0 is the program.
    std::string Position(std::size_t index) const;
    std::size_t PositionCount() const { return positions_.size(); }
    bool Unattended() const { return !Position(4).empty(); }
    // The options in their order, "--desde=X" given as "--desde" followed by "X".
    const std::vector<std::string>& Options() const { return options_; }
    // The indexes in argv of every argument that may hold the password: the third position, and
    // the third argument as given, which is the password when an empty argument moved the rest.
    std::vector<std::size_t> PasswordCandidates() const;

  private:
    void TakeOption(const std::vector<std::string>& arguments, std::size_t& index);

    std::vector<std::string> positions_;
    std::vector<std::size_t> positionIndexes_;
    std::vector<std::string> options_;
    std::size_t argumentCount_ = 0;
};

}  // namespace contado
