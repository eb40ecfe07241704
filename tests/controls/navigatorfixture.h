#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <vector>

#include "controls/dbnavigator.h"
#include "controls/repeattimer.h"
#include "core/component.h"
#include "data/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/sql/sqlconnection.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"

namespace contado {

// A repeat timer that ticks only when the test lets time pass.
class TDrivenRepeatTimer : public TRepeatTimer {
  public:
    void Start(int interval) override;
    void SetInterval(int interval) override { interval_ = interval; }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    // Lets the milliseconds pass one by one, ticking whenever an interval is full.
    void Advance(int milliseconds);

  private:
    bool active_ = false;
    int interval_ = 0;
    int elapsed_ = 0;
};

// A navigator bar of the editors' shape (303 x 18, the seven buttons) in a window of its own, over
// the client table of AJUSTE_CIERRE_AUTO of a fresh company through a data source; the table starts
// closed and empty. Prior and Next repeat on driven timers; boxes are recorded.
class NavigatorTest : public testing::Test {
  protected:
    NavigatorTest();
    ~NavigatorTest() override;

    // Rows with identifiers 1 to n.
    void FillPlanned(int n);
    void Show();
    void Click(TNavigateBtn button);
    // The buttons enabled now, of the seven shown.
    std::vector<TNavigateBtn> Enabled() const;

    TTestCompany company_;
    TMessageBoxRecorder boxes_;
    TComponent form_;
    TSQLConnection* connection_;
    TClientDataSet* table_;
    TDataSource* source_;
    std::unique_ptr<QWidget> window_;
    TDBNavigator* navigator_;
    TDrivenRepeatTimer* priorTimer_;
    TDrivenRepeatTimer* nextTimer_;
};

}  // namespace contado
