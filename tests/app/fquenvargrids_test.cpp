#include <QScrollBar>

#include "data/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "grid/dbgridex.h"
#include "platform/system/systemcolors.h"
#include "tests/app/companywindowfixture.h"
#include "tests/app/mainwindowfixture.h"

namespace contado {
namespace {

using MainWindowGrids = MainWindowTest;

struct TExpectedColumn {
    const char* FieldName;
    int Width;
    const char* Title;
};

void ExpectGrid(TDBGridEx* grid, QWidget* panel, TDataSource* source,
                const std::vector<TExpectedColumn>& columns) {
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->parentWidget(), panel);
    EXPECT_EQ(grid->geometry(), QRect(1, 19, 303, 131));
    EXPECT_EQ(grid->DataSource(), source);
    EXPECT_EQ(grid->Options().Bits(), 0xCFDu);
    EXPECT_EQ(grid->OptionsEx().Bits(), 0x991461u);
    EXPECT_EQ(grid->IndicatorOptions(), TDBGridExIndicatorOptions{gioShowRowIndicatorEx});
    ASSERT_EQ(grid->Columns().Count(), static_cast<int>(columns.size()));
    for (int index = 0; index < grid->Columns().Count(); ++index) {
        const TDBGridColumnEx* column = grid->Columns().Items(index);
        EXPECT_EQ(column->FieldName(), columns[index].FieldName);
        EXPECT_EQ(column->Width(), columns[index].Width);
        EXPECT_EQ(column->Title().Caption(), columns[index].Title);
    }
}

TEST_F(MainWindowGrids, BothGridsInTheirPanelsAsConfigured) {
    Open();
    ExpectGrid(window_->DBGridEx2, window_->CaptionPanel1, window_->DAjuste,
               {{"AJCI_FECINI", 75, "F.Desde"},
                {"AJCI_FECFIN", 75, "F.Hasta"},
                {"AJCI_PORC", 40, "Porc"},
                {"AJCI_FACTOR", 50, "Factor"},
                {"AJCI_PREFNO", 40, "Pref.N/A"}});
    ExpectGrid(window_->DBGridEx1, window_->CaptionPanel2, window_->DAjusteau,
               {{"AJCI_FECINI", 75, "Fec.Desde"},
                {"AJCI_FECFIN", 75, "Fec.Hasta"},
                {"AJCI_PORC", 38, "Porc."},
                {"AJCI_FACTOR", 50, "Factor"},
                {"AJCI_PREFNO", 46, "Pref.N/A"}});
    EXPECT_EQ(window_->DBGridEx2->RowCount(), 2) << "table closed: titles and one empty row";
    EXPECT_FALSE(window_->DBGridEx1->HorizontalScrollBar()->isHidden()) << "W = 289 is wider than 287";
    EXPECT_TRUE(window_->DBGridEx2->HorizontalScrollBar()->isHidden());
}

using CompanyWindowGrids = CompanyWindowTest;

TEST_F(CompanyWindowGrids, PlannedGridShowsTheOpenTable) {
    OpenConnected();
    window_->CAjusteAu->Open();
    window_->CaptionPanel2->show();
    window_->DBGridEx1->setFocus();
    QApplication::processEvents();
    TDBGridEx* grid = window_->DBGridEx1;
    ASSERT_GE(window_->CAjusteAu->RecordCount(), 2) << "the demo company has planned adjustments";
    EXPECT_FALSE(grid->VerticalScrollBar()->isHidden());
    EXPECT_EQ(grid->Geometry().VisibleRowCount(), 5);
    EXPECT_EQ(grid->RowCount(), 1 + std::min(5, window_->CAjusteAu->RecordCount()));
    const QImage image = grid->grab().toImage();
    const QPoint cell = grid->Geometry().CellRect(0, 0).center() + QPoint(2, 2);
    EXPECT_EQ(image.pixelColor(cell.x() + 30, cell.y()), clHighlight) << "the focused current cell";
    window_->CAjusteAu->Close();
    EXPECT_EQ(grid->RowCount(), 2);
}

}  // namespace
}  // namespace contado
