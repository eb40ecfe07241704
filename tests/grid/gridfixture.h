#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/sql/sqlconnection.h"
#include "grid/dbgridex.h"
#include "tests/support/companydatabase.h"

namespace contado {

// A data grid of the design size (303 x 131) in a window of its own, beside an edit that can take
// the focus away, over the client table CAjusteAu of a fresh company database (AJUSTE_CIERRE_AUTO
// with the main window's persistent fields), through the data source DAjusteau. The table starts
// closed and empty; dates read dd/mm/yyyy with a comma as decimal separator.
class GridTest : public testing::Test {
  protected:
    static constexpr int kEdge = 2;

    GridTest();
    ~GridTest() override;

    // Rows with identifiers 1 to n: 1 January 2024 to 31 December 2024, rate = identifier, factor 0.8,
    // no prefix.
    void FillPlanned(int n);
    // The columns of the planned-adjustment grid (W = 289) or of the closing-adjustment grid (W = 285).
    void ConfigurePlannedColumns();
    void ConfigureClosingColumns();
    void OpenTable();
    // Shows the window, gives the grid the focus and lets every pending paint happen.
    void ShowFocused();
    void Settle();
    QImage Grab() const;
    // A pixel at client coordinates of the grid.
    static QColor ClientPixel(const QImage& image, QPoint point);
    static QColor ClientPixel(const QImage& image, int x, int y) { return ClientPixel(image, QPoint(x, y)); }

    TTestCompany company_;
    TComponent form_;
    TSQLConnection* connection_;
    TClientDataSet* CAjusteAu;
    TDataSource* DAjusteau;
    std::unique_ptr<QWidget> window_;
    TDBGridEx* grid_;
    QLineEdit* other_;

  private:
    void AddPersistentFields();
    void AddColumns(const std::vector<int>& widths, const std::vector<const char*>& titles);

    TFormatSettings settings_ = FormatSettings();
};

}  // namespace contado
