#include "tests/grid/gridfixture.h"

#include <QApplication>
#include <QtTest/QTest>

#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqltable.h"

namespace contado {

GridTest::GridTest()
    : connection_(new TSQLConnection(&form_)),
      CAjusteAu(new TClientDataSet(&form_)),
      DAjusteau(new TDataSource(&form_)),
      window_(std::make_unique<QWidget>()),
      grid_(new TDBGridEx(window_.get())),
      other_(new QLineEdit(window_.get())) {
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DecimalSeparator = ',';
    connection_->SetName("Tandrel");
    connection_->SetDriverName("Interbase");
    connection_->SetLibraryName("libfbdriver.so");
    connection_->SetGetDriverFunc("getSQLDriverFIREBIRD");
    connection_->SetVendorLib("libfbclient.so.2");
    connection_->SetLoginPrompt(false);
    connection_->Params().SetLines({"Database=" + company_.DatabasePath(), "User_Name=sysdba",
                                    "Password=masterkey", "SQLDialect=3",
                                    "Interbase TransIsolation=ReadCommited"});

    auto* source = new TSQLTable(&form_);
    source->SetName("TAjusteAu");
    source->SetSQLConnection(connection_);
    source->SetTableName("AJUSTE_CIERRE_AUTO");
    source->SetGetMetadata(false);
    auto* provider = new TDataSetProvider(&form_);
    provider->SetName("PAjusteAu");
    provider->SetDataSet(source);
    CAjusteAu->SetName("CAjusteAu");
    CAjusteAu->SetProviderName("PAjusteAu");
    CAjusteAu->SetPacketRecords(1000);
    AddPersistentFields();
    DAjusteau->SetName("DAjusteau");
    DAjusteau->SetDataSet(CAjusteAu);

    window_->resize(400, 200);
    grid_->setGeometry(0, 0, 303, 131);
    other_->setGeometry(320, 10, 60, 20);
    grid_->SetOptionsEx({dghFixed3D, dghHighlightFocus, dghClearSelection, dghEnterAsTab, dghIncSearch,
                         dghDialogFind, dghColumnResize, dghColumnMove, dghExtendVertLines});
    grid_->SetDataSource(DAjusteau);
}

GridTest::~GridTest() {
    window_.reset();
    CAjusteAu->Close();
    FormatSettings() = settings_;
}

void GridTest::AddPersistentFields() {
    auto* id = new TIntegerField(&form_);
    id->SetFieldName("AJCI_ID");
    id->SetRequired(true);
    id->SetDataSet(CAjusteAu);
    const std::pair<TField*, const char*> others[] = {{new TDateField(&form_), "AJCI_FECINI"},
                                                      {new TDateField(&form_), "AJCI_FECFIN"},
                                                      {new TFMTBCDField(&form_), "AJCI_PORC"},
                                                      {new TFMTBCDField(&form_), "AJCI_FACTOR"},
                                                      {new TStringField(&form_), "AJCI_PREFNO"}};
    for (const auto& [field, name] : others) {
        field->SetFieldName(name);
        field->SetDataSet(CAjusteAu);
    }
    CAjusteAu->FindField("AJCI_FECINI")->SetDisplayLabel("Fec.Desde");
    CAjusteAu->FindField("AJCI_FECFIN")->SetDisplayLabel("Fec.Hasta");
    CAjusteAu->FindField("AJCI_PORC")->SetDisplayLabel("Porc.");
    CAjusteAu->FindField("AJCI_FACTOR")->SetDisplayLabel("Factor");
    CAjusteAu->FindField("AJCI_PREFNO")->SetDisplayLabel("Pref.N/A");
    CAjusteAu->FindField("AJCI_PREFNO")->SetSize(4);
}

void GridTest::FillPlanned(int n) {
    connection_->Execute("execute block as declare i integer = 1; begin while (i <= " + std::to_string(n) +
                         ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, '2024-01-01', '2024-12-31', "
                         ":i, 0.8, null); i = i + 1; end end");
}

void GridTest::AddColumns(const std::vector<int>& widths, const std::vector<const char*>& titles) {
    const char* fields[] = {"AJCI_FECINI", "AJCI_FECFIN", "AJCI_PORC", "AJCI_FACTOR", "AJCI_PREFNO"};
    for (std::size_t index = 0; index < widths.size(); ++index) {
        TDBGridColumnEx* column = grid_->Columns().Add();
        column->SetFieldName(fields[index]);
        column->SetWidth(widths[index]);
        column->Title().SetCaption(QString::fromUtf8(titles[index]));
    }
}

void GridTest::ConfigurePlannedColumns() {
    AddColumns({75, 75, 38, 50, 46}, {"Fec.Desde", "Fec.Hasta", "Porc.", "Factor", "Pref.N/A"});
}

void GridTest::ConfigureClosingColumns() {
    AddColumns({75, 75, 40, 50, 40}, {"F.Desde", "F.Hasta", "Porc", "Factor", "Pref.N/A"});
}

void GridTest::OpenTable() {
    CAjusteAu->Open();
}

void GridTest::ShowFocused() {
    window_->show();
    QApplication::setActiveWindow(window_.get());
    grid_->setFocus();
    Settle();
}

void GridTest::Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

QImage GridTest::Grab() const {
    return grid_->grab().toImage();
}

QColor GridTest::ClientPixel(const QImage& image, QPoint point) {
    return image.pixelColor(point + QPoint(kEdge, kEdge));
}

}  // namespace contado
