#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest/QTest>
#include <memory>

#include "app/fquenvar.h"
#include "tests/app/companyprobe.h"
#include "tests/support/companydatabase.h"
#include "tests/support/messageboxrecorder.h"
#include "tests/support/registrysandbox.h"

namespace contado {

// The real window on a machine whose server list names a fresh demo company's server folder
// (sales and planned adjustments of the last days, up to today); boxes are recorded.
class CompanyWindowTest : public testing::Test {
  protected:
    static constexpr int kDemoDays = 10;

    void SetUp() override {
        QCoreApplication::setApplicationName("Contabiliza ventas contado");
        sandbox_.PointAtApplicationDirectory();
        sandbox_.WriteApplicationFile("SERVIDORES.cfg", company_.ServerDir() + "\n");
    }
    void TearDown() override { delete window_.data(); }

    Tfquenvar* Open() {
        window_ = new Tfquenvar;
        ending_ = std::make_unique<QSignalSpy>(window_.data(), &Tfquenvar::ProgramEnding);
        window_->show();
        QApplication::setActiveWindow(window_);
        return window_;
    }
    // Opens the window and connects as the clerk does: user, password, company and Enter.
    Tfquenvar* OpenConnected() {
        Open();
        window_->Tusua->setText("SYSDBA");
        window_->TClave->setText("masterkey");
        window_->Cia->setText(QString::fromStdString(company_.CompanyCode()));
        window_->Cia->setFocus();
        QTest::keyClick(window_->Cia, Qt::Key_Return);
        return window_;
    }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // The status the window ended the program with; -1 while it has not.
    int ExitStatus() const { return ending_->isEmpty() ? -1 : ending_->last().at(0).toInt(); }
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(company_.DatabasePath());
        }
        return *probe_;
    }

    TTestCompany company_{kDemoDays};
    TRegistrySandbox sandbox_;
    TMessageBoxRecorder boxes_;
    QPointer<Tfquenvar> window_;
    std::unique_ptr<QSignalSpy> ending_;
    std::unique_ptr<TCompanyProbe> probe_;
};

}  // namespace contado
