#pragma once

#include <ostream>
#include <string>

#include "core/datetime.h"

namespace contado {

class TDataSet;
class TField;

// What an unattended run posted, for a scheduler's mail or journal: a header line with the column
// names the posting procedure returns, then one line per returned row prefixed by its day, values
// separated by tabs. Numbers use a full stop and dates are YYYY-MM-DD, whatever the regional
// settings; a tab or line break inside a text becomes a blank, so every row stays one line.
class TRunReport {
  public:
    explicit TRunReport(std::ostream& out) : out_(out) {}

    // Writes the rows of a dataset just opened, from its current row to its end; answers how many.
    // The header goes before the first day's rows, once per run.
    int WriteDay(TDateTime day, TDataSet& rows);

    static std::string ValueText(const TField& field);

  private:
    void WriteHeader(const TDataSet& rows);

    std::ostream& out_;
    bool headerWritten_ = false;
};

}  // namespace contado
