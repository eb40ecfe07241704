#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QtTest/QTest>
#include <functional>

#include "app/fquenvar.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"

namespace contado {

// The main window with its later-filled handlers counted instead of run.
class TCountingWindow : public Tfquenvar {
  public:
    int postingRuns = 0;
    int adjustmentEditor = 0;
    int plannedEditor = 0;
    int companyExits = 0;
    std::function<void()> duringPostingRun;

    void SpeedButton3Click() override {
        ++postingRuns;
        if (duringPostingRun) {
            duringPostingRun();
        }
    }
    void AlternarEditorAjustes() override { ++adjustmentEditor; }
    void AlternarEditorPrevistos() override { ++plannedEditor; }
    void CiaExit() override { ++companyExits; }
};

// A machine whose settings point at a fresh application directory, boxes answered and recorded.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        QCoreApplication::setApplicationName("Contabiliza ventas contado");
        sandbox_.PointAtApplicationDirectory();
    }
    void TearDown() override { delete window_.data(); }

    TCountingWindow* Open() {
        window_ = new TCountingWindow;
        window_->show();
        QApplication::setActiveWindow(window_);
        return window_;
    }
    // Types a key into the control that has the focus, as the keyboard does.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // Runs the deletions a closed window asked for; true when the window is gone.
    bool WindowFreed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window_.isNull();
    }

    TRegistrySandbox sandbox_;
    TMessageBoxRecorder boxes_;
    QPointer<TCountingWindow> window_;
};

}  // namespace contado
