#include "tests/controls/navigatorfixture.h"

#include <QApplication>
#include <QtTest/QTest>

#include "data/provider/datasetprovider.h"
#include "data/sql/sqltable.h"

namespace contado {

void TDrivenRepeatTimer::Start(int interval) {
    active_ = true;
    interval_ = interval;
    elapsed_ = 0;
}

void TDrivenRepeatTimer::Advance(int milliseconds) {
    for (int passed = 0; passed < milliseconds && active_; ++passed) {
        if (++elapsed_ >= interval_) {
            elapsed_ = 0;
            OnTimer();
        }
    }
}

NavigatorTest::NavigatorTest()
    : connection_(new TSQLConnection(&form_)),
      table_(new TClientDataSet(&form_)),
      source_(new TDataSource(&form_)),
      window_(std::make_unique<QWidget>()),
      navigator_(new TDBNavigator(window_.get())) {
    connection_->SetDriverName("Interbase");
    connection_->SetLibraryName("libfbdriver.so");
    connection_->SetGetDriverFunc("getSQLDriverFIREBIRD");
    connection_->SetVendorLib("libfbclient.so.2");
    connection_->SetLoginPrompt(false);
    connection_->Params().SetLines({"Database=" + company_.DatabasePath(), "User_Name=sysdba",
                                    "Password=masterkey", "SQLDialect=3",
                                    "Interbase TransIsolation=ReadCommited"});
    auto* sqlTable = new TSQLTable(&form_);
    sqlTable->SetName("TAjusteAu");
    sqlTable->SetSQLConnection(connection_);
    sqlTable->SetTableName("AJUSTE_CIERRE_AUTO");
    sqlTable->SetGetMetadata(false);
    auto* provider = new TDataSetProvider(&form_);
    provider->SetName("PAjusteAu");
    provider->SetDataSet(sqlTable);
    table_->SetName("CAjusteAu");
    table_->SetProviderName("PAjusteAu");
    source_->SetDataSet(table_);

    window_->resize(320, 40);
    navigator_->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbCancel});
    navigator_->setGeometry(1, 1, 303, 18);
    navigator_->SetDataSource(source_);
    auto prior = std::make_unique<TDrivenRepeatTimer>();
    auto next = std::make_unique<TDrivenRepeatTimer>();
    priorTimer_ = prior.get();
    nextTimer_ = next.get();
    navigator_->Buttons(nbPrior)->SetRepeatTimer(std::move(prior));
    navigator_->Buttons(nbNext)->SetRepeatTimer(std::move(next));
}

NavigatorTest::~NavigatorTest() {
    window_.reset();
    table_->Close();
}

void NavigatorTest::FillPlanned(int n) {
    connection_->Execute("execute block as declare i integer = 1; begin while (i <= " + std::to_string(n) +
                         ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, '2024-01-01', '2024-12-31', "
                         ":i, 0.8, null); i = i + 1; end end");
}

void NavigatorTest::Show() {
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QApplication::processEvents();
}

void NavigatorTest::Click(TNavigateBtn button) {
    QTest::mouseClick(navigator_->Buttons(button), Qt::LeftButton);
}

std::vector<TNavigateBtn> NavigatorTest::Enabled() const {
    std::vector<TNavigateBtn> enabled;
    for (TNavigateBtn button : {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbCancel}) {
        if (navigator_->Buttons(button)->isEnabled()) {
            enabled.push_back(button);
        }
    }
    return enabled;
}

}  // namespace contado
