// The data grid painting a view of 30 rows over a client table of the company database: a full
// paint, and a move of one record past the bottom row (the image shifts, two rows are painted);
// beside them a QTableView over a QStandardItemModel with the same rows and columns, painted into
// the same size. Runs on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <cstdlib>
#include <memory>

#include "bench/pairratios.h"
#include "bench/benchcompany.h"
#include "core/component.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/fields/field.h"
#include "data/provider/datasetprovider.h"
#include "data/sql/sqltable.h"
#include "grid/dbgridex.h"
#include "platform/system/systemfonts.h"

namespace contado {
namespace {

constexpr int kRows = 2000;
constexpr int kVisibleRows = 30;
const int kWidths[] = {75, 75, 40, 50, 40};
const char* const kFields[] = {"AJCI_FECINI", "AJCI_FECFIN", "AJCI_PORC", "AJCI_FACTOR", "AJCI_PREFNO"};
// Room for 30 rows of 18 below a title row of 18, the columns, the vertical bar and the edges.
const QSize kGridSize(12 + 285 + 17 + 4, 18 + kVisibleRows * 18 + 4);

TBenchCompany* company = nullptr;

// The client table over AJUSTE_CIERRE_AUTO, its data source and a grid on it in a shown window.
struct GridStack {
    TComponent form;
    TClientDataSet* table = new TClientDataSet(&form);
    TDataSource* source = new TDataSource(&form);
    std::unique_ptr<TDBGridEx> grid = std::make_unique<TDBGridEx>();

    GridStack() {
        auto* sqlTable = new TSQLTable(&form);
        sqlTable->SetName("TAjusteAu");
        sqlTable->SetSQLConnection(company->Connection());
        sqlTable->SetTableName("AJUSTE_CIERRE_AUTO");
        sqlTable->SetGetMetadata(false);
        auto* provider = new TDataSetProvider(&form);
        provider->SetName("PAjusteAu");
        provider->SetDataSet(sqlTable);
        table->SetName("CAjusteAu");
        table->SetProviderName("PAjusteAu");
        table->SetPacketRecords(1000);
        source->SetDataSet(table);
        for (int index = 0; index < 5; ++index) {
            TDBGridColumnEx* column = grid->Columns().Add();
            column->SetFieldName(kFields[index]);
            column->SetWidth(kWidths[index]);
        }
        grid->SetDataSource(source);
        grid->resize(kGridSize);
        table->Open();
        grid->show();
        QApplication::processEvents();
    }
    ~GridStack() { grid.reset(); }
};

// The same rows as texts, in a table view of the same size and font.
struct TableViewStack {
    QStandardItemModel model{kRows, 5};
    QTableView view;

    TableViewStack() {
        for (int row = 0; row < kRows; ++row) {
            model.setItem(row, 0, new QStandardItem("01/01/2024"));
            model.setItem(row, 1, new QStandardItem("31/12/2024"));
            model.setItem(row, 2, new QStandardItem(QString::number(row + 1)));
            model.setItem(row, 3, new QStandardItem("0,8"));
            model.setItem(row, 4, new QStandardItem());
        }
        view.setModel(&model);
        view.setFont(MsSansSerifFont(11));
        view.verticalHeader()->setDefaultSectionSize(18);
        for (int column = 0; column < 5; ++column) {
            view.setColumnWidth(column, kWidths[column] + 1);
        }
        view.resize(kGridSize);
        view.show();
        QApplication::processEvents();
    }
};

void GridFullPaint(benchmark::State& state) {
    GridStack stack;
    if (stack.grid->Geometry().VisibleRowCount() != kVisibleRows) {
        state.SkipWithError("the grid does not show 30 rows");
        return;
    }
    for (auto _ : state) {
        stack.grid->Viewport()->repaint();
    }
}
BENCHMARK(GridFullPaint)->Unit(benchmark::kMicrosecond);

void GridOneRowScroll(benchmark::State& state) {
    GridStack stack;
    stack.table->MoveBy(kVisibleRows - 1);
    for (auto _ : state) {
        if (stack.table->RecNo() >= kRows) {
            state.PauseTiming();
            stack.table->First();
            stack.table->MoveBy(kVisibleRows - 1);
            state.ResumeTiming();
        }
        stack.table->Next();
    }
}
BENCHMARK(GridOneRowScroll)->Unit(benchmark::kMicrosecond);

void TableViewFullPaint(benchmark::State& state) {
    TableViewStack stack;
    for (auto _ : state) {
        stack.view.viewport()->repaint();
    }
}
BENCHMARK(TableViewFullPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace contado

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    contado::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    contado::FormatSettings().DecimalSeparator = ',';
    contado::TBenchCompany company;
    company.Connection()->Execute(
        "execute block as declare i integer = 1; begin while (i <= " + std::to_string(contado::kRows) +
        ") do begin insert into AJUSTE_CIERRE_AUTO values (:i, '2024-01-01', '2024-12-31', :i, 0.8, null); "
        "i = i + 1; end end");
    contado::company = &company;
    contado::RunWithRatios({
        {"GridOneRowScroll", "GridFullPaint", "one-row scroll vs full paint"},
        {"GridFullPaint", "TableViewFullPaint", "grid full paint vs QTableView"},
    });
    contado::company = nullptr;
    benchmark::Shutdown();
    return 0;
}
