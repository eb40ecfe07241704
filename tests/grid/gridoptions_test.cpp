#include <gtest/gtest.h>

#include "grid/dbgridex.h"
#include "platform/system/systemcolors.h"
#include "tests/grid/gridfixture.h"

namespace contado {
namespace {

TEST(GridOptions, BitOrderAndDefaults) {
    EXPECT_EQ(kDefaultGridOptions.Bits(), 0xCFDu);
    EXPECT_EQ(kDefaultGridOptionsEx.Bits(), 0x990061u);
    EXPECT_EQ((TDBGridExOptions{dghFixed3D, dghHighlightFocus, dghClearSelection, dghEnterAsTab, dghIncSearch,
                                dghDialogFind, dghColumnResize, dghColumnMove, dghExtendVertLines})
                  .Bits(),
              0x991461u);
    EXPECT_EQ(TDBGridExIndicatorOptions{gioShowRecNoEx}.Bits(), 2u);
    EXPECT_EQ(TDBGridExAllowedOperations{alopAppendEx}.Bits(), 8u);
    EXPECT_EQ(TDBGridExEditActions{geaSelectAllEx}.Bits(), 16u);
    TDBGridEx grid;
    EXPECT_EQ(grid.Options(), kDefaultGridOptions);
    EXPECT_EQ(grid.OptionsEx(), kDefaultGridOptionsEx);
    EXPECT_EQ(grid.IndicatorOptions(), kDefaultIndicatorOptions);
    EXPECT_EQ(grid.AllowedOperations(), kAllOperations);
    EXPECT_TRUE(grid.EditActions().IsEmpty());
    EXPECT_EQ(grid.Color(), clWindow);
    EXPECT_EQ(grid.FixedColor(), clBtnFace);
}

TEST(GridOptions, IndicatorOptionAndDgIndicatorGoTogether) {
    TDBGridEx grid;
    TDBGridOptions options = grid.Options();
    options.Exclude(dgIndicator);
    grid.SetOptions(options);
    EXPECT_FALSE(grid.IndicatorOptions().Contains(gioShowRowIndicatorEx));
    EXPECT_EQ(grid.IndicatorWidth(), 0);
    grid.SetIndicatorOptions({gioShowRowIndicatorEx});
    EXPECT_TRUE(grid.Options().Contains(dgIndicator));
    EXPECT_EQ(grid.IndicatorWidth(), 11);
}

TEST(GridOptions, RecordNumberIndicatorFollowsShowRecNo) {
    TDBGridEx grid;
    TDBGridExOptions extended = grid.OptionsEx();
    extended.Include(dghShowRecNo);
    grid.SetOptionsEx(extended);
    EXPECT_TRUE(grid.IndicatorOptions().Contains(gioShowRecNoEx));
    extended.Exclude(dghShowRecNo);
    grid.SetOptionsEx(extended);
    EXPECT_FALSE(grid.IndicatorOptions().Contains(gioShowRecNoEx));
}

TEST(GridOptions, ColumnResizeStandsForSizingAndMoving) {
    TDBGridEx grid;
    TDBGridOptions options = grid.Options();
    options.Exclude(dgColumnResize);
    grid.SetOptions(options);
    EXPECT_FALSE(grid.OptionsEx().Contains(dghColumnResize));
    EXPECT_FALSE(grid.OptionsEx().Contains(dghColumnMove));
    options.Include(dgColumnResize);
    grid.SetOptions(options);
    EXPECT_TRUE(grid.OptionsEx().Contains(dghColumnResize));
    EXPECT_TRUE(grid.OptionsEx().Contains(dghColumnMove));

    TDBGridExOptions extended = grid.OptionsEx();
    extended.Exclude(dghColumnMove);
    grid.SetOptionsEx(extended);
    EXPECT_FALSE(grid.Options().Contains(dgColumnResize)) << "only one of the pair";
    EXPECT_TRUE(grid.OptionsEx().Contains(dghColumnResize));
    extended.Include(dghColumnMove);
    grid.SetOptionsEx(extended);
    EXPECT_TRUE(grid.Options().Contains(dgColumnResize));

    extended.Exclude(dghColumnResize);
    extended.Exclude(dghColumnMove);
    grid.SetOptionsEx(extended);
    options = grid.Options();
    options.Include(dgColumnResize);
    grid.SetOptions(options);
    grid.Loaded();
    EXPECT_TRUE(grid.OptionsEx().Contains(dghColumnResize));
    EXPECT_TRUE(grid.OptionsEx().Contains(dghColumnMove));
}

using GridColumns = GridTest;

TEST_F(GridColumns, DefaultsAreComputedAtEveryUse) {
    TDBGridColumnEx* column = grid_->Columns().Add();
    column->SetFieldName("AJCI_PORC");
    EXPECT_EQ(column->Title().Caption(), "AJCI_PORC") << "no field bound while the table is closed";
    EXPECT_EQ(column->Alignment(), taLeftJustify);
    OpenTable();
    ASSERT_NE(column->Field(), nullptr);
    EXPECT_EQ(column->Title().Caption(), "Porc.");
    EXPECT_EQ(column->Alignment(), taRightJustify) << "numbers are right-aligned";
    column->Field()->SetDisplayLabel("Tasa Ñ");
    EXPECT_EQ(column->Title().Caption(), QString::fromUtf8("Tasa Ñ"));
    grid_->SetColor(QColor(0xC0, 0xC0, 0xC0));
    grid_->SetFixedColor(QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(column->Color(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(column->Title().Color(), QColor(0x10, 0x20, 0x30));
    QFont font = grid_->font();
    font.setPixelSize(14);
    grid_->setFont(font);
    EXPECT_EQ(column->Font().pixelSize(), 14);
    EXPECT_FALSE(column->ReadOnly());
    grid_->SetReadOnly(true);
    EXPECT_TRUE(column->ReadOnly());
    grid_->SetReadOnly(false);
    column->Field()->SetReadOnly(true);
    EXPECT_TRUE(column->ReadOnly());
    column->SetReadOnly(false);
    EXPECT_FALSE(column->ReadOnly()) << "set explicitly, the default no longer applies";
    column->SetAlignment(taCenter);
    column->Field()->SetAlignment(taLeftJustify);
    EXPECT_EQ(column->Alignment(), taCenter);
    CAjusteAu->Close();
    EXPECT_EQ(column->Field(), nullptr) << "unbound when the table closes";
}

TEST_F(GridColumns, ColumnOfAnUnknownFieldShowsNothing) {
    TDBGridColumnEx* column = grid_->Columns().Add();
    column->SetFieldName("NO_SUCH_FIELD");
    FillPlanned(2);
    OpenTable();
    ShowFocused();
    EXPECT_EQ(column->Field(), nullptr);
    EXPECT_TRUE(column->DisplayText().isEmpty());
    const QImage image = Grab();
    EXPECT_EQ(ClientPixel(image, grid_->Geometry().CellRect(0, 1).center()), clWindow);
}

}  // namespace
}  // namespace contado
