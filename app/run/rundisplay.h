#pragma once

#include <string>

#include "core/datetime.h"

namespace contado {

struct TCompanyLogin;

// What a posting run shows while it works: the window shows it on its fields and working panel,
// a run without a window shows nothing.
class TRunDisplay {
  public:
    virtual ~TRunDisplay() = default;

    // The server, user, password and company the run connects with.
    virtual void ShowLogin(const TCompanyLogin& login);
    // A step's text while it lasts.
    virtual void ShowWork(const std::string& text);
    // The step is over.
    virtual void HideWork();
    // The connection is up and the range is that day.
    virtual void ShowConnected(TDateTime day);
    // The range now worked on, each day of a catch-up in turn.
    virtual void ShowRange(TDateTime first, TDateTime last);
};

}  // namespace contado
