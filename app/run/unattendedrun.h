#pragma once

#include <exception>
#include <iosfwd>
#include <vector>

#include "app/run/commandline.h"
#include "app/run/exitstatus.h"
#include "app/run/runoptions.h"
#include "app/run/runreport.h"
#include "core/datetime.h"

namespace contado {

class TCompanyData;
class TRunDisplay;

// The unattended run of the four arguments: connects, rebuilds today's adjustments from the planned
// ones and stores them all or nothing, posts today, and says how it ended. A catch-up or dry run
// posts every day of its options in turn instead. What the posting returned goes to the output.
// The window runs it on its first activation; without a window the program runs it alone.
class TUnattendedRun {
  public:
    TUnattendedRun(TCompanyData& data, const TCommandLine& commandLine, TRunDisplay& display,
                   std::ostream& output);

    // The run; an error that stops it leaves as an exception, for a clerk to take over.
    TExitStatus Execute();
    // The run where nobody can take over: an error that stops it is shown (one line on standard
    // error) and ends it with esRunFailed; an abort was shown by its handler.
    TExitStatus ExecuteToTheEnd();

  private:
    // A day's place in a run of several: day Number of Of.
    struct TDayCount {
        int Number;
        int Of;
    };

    void ConectarConLimite();
    TExitStatus ContabilizarHoy();
    TExitStatus CorridaExtendida(const TRunOptions& options);
    void ContabilizarDias(const std::vector<TDateTime>& days, bool& posted, bool eachAlone);
    bool ContabilizarDiaAparte(TDateTime day, const TDayCount& count);
    // Rebuilds and posts one day alone; true when the posting returned rows.
    bool ContabilizarDia(TDateTime day, const TDayCount& count);
    static TExitStatus Finalizar(bool posted);
    static TExitStatus Fallida(const std::exception* error);

    TCompanyData& data_;
    const TCommandLine& commandLine_;
    TRunDisplay& display_;
    TRunReport report_;
    TDateTime first_ = 0;
    TDateTime last_ = 0;
};

}  // namespace contado
