#include <QFontMetrics>
#include <QPainter>

#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "grid/gridimages.h"
#include "platform/system/systemcolors.h"
#include "tests/grid/gridfixture.h"

namespace contado {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGray(0x80, 0x80, 0x80);

class GridPaint : public GridTest {
  protected:
    // The closing-adjustment columns over an open table; focus on the grid.
    void ShowClosing(int rows) {
        ConfigureClosingColumns();
        FillPlanned(rows);
        OpenTable();
        ShowFocused();
    }
    QRect Cell(int column, int row) const { return grid_->Geometry().CellRect(column, row); }
    // The cell's pixels as painted.
    QImage CellImage(const QImage& image, const QRect& cell) const {
        return image.copy(cell.translated(kEdge, kEdge)).convertToFormat(QImage::Format_RGB32);
    }
    // The same cell painted by hand: background, and the text with its top at 'top' and its left at
    // 'left' (both within the cell).
    static QImage Reference(QSize size, const QColor& background, const QColor& textColor, const QFont& font,
                            const QString& text, int left, int top) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(textColor);
        painter.drawText(QPoint(left, top + QFontMetrics(font).ascent()), text);
        return image;
    }
    static int TextWidth(const QFont& font, const QString& text) {
        return QFontMetrics(font).horizontalAdvance(text);
    }
    // The glyph as the indicator of a data row must show it over the button face.
    bool ShowsGlyph(const QImage& image, int row, int imageIndex) const {
        const QImage& glyph = TGridImages::Shared().Image(imageIndex);
        const QRect cell = grid_->Geometry().IndicatorRect(row);
        const QPoint origin((cell.left() + cell.left() + cell.width() - 6) / 2,
                            (cell.top() + cell.top() + cell.height() - 11) / 2);
        for (int y = 0; y < glyph.height(); ++y) {
            for (int x = 0; x < glyph.width(); ++x) {
                const QColor expected =
                    glyph.pixelColor(x, y).alpha() == 0 ? clBtnFace : glyph.pixelColor(x, y);
                if (ClientPixel(image, origin + QPoint(x, y)) != expected.rgb()) {
                    return false;
                }
            }
        }
        return true;
    }
    bool IndicatorIsBare(const QImage& image, int row) const {
        const QRect cell = grid_->Geometry().IndicatorRect(row).adjusted(1, 1, -1, -1);
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                if (ClientPixel(image, x, y) != clBtnFace) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(GridPaint, EmptyTableTitlesOneEmptyRowLinesAndBevels) {
    ShowClosing(0);
    other_->setFocus();
    Settle();
    const QImage image = Grab();
    image.save(CONTADO_BINARY_DIR "/grid-empty.png");
    ASSERT_EQ(image.size(), QSize(303, 131));
    EXPECT_TRUE(grid_->VerticalScrollBar()->isHidden());
    EXPECT_TRUE(grid_->HorizontalScrollBar()->isHidden());
    // Sunken client edge.
    EXPECT_EQ(image.pixelColor(50, 0), clBtnShadow);
    EXPECT_EQ(image.pixelColor(50, 1), cl3DDkShadow);
    EXPECT_EQ(image.pixelColor(50, 130), clBtnHighlight);
    // Corner cell and title bevels: highlight top and left, shadow bottom and right.
    EXPECT_EQ(ClientPixel(image, 0, 5), clBtnHighlight);
    EXPECT_EQ(ClientPixel(image, 5, 0), clBtnHighlight);
    EXPECT_EQ(ClientPixel(image, 10, 5), clBtnShadow);
    EXPECT_EQ(ClientPixel(image, 5, 16), clBtnShadow);
    EXPECT_EQ(ClientPixel(image, 5, 5), clBtnFace);
    EXPECT_EQ(ClientPixel(image, 12, 8), clBtnHighlight);
    EXPECT_EQ(ClientPixel(image, 86, 8), clBtnShadow);
    EXPECT_EQ(ClientPixel(image, 80, 14), clBtnFace);
    // Fixed lines black, data lines silver.
    EXPECT_EQ(ClientPixel(image, 11, 8), kBlack);
    EXPECT_EQ(ClientPixel(image, 87, 8), kBlack);
    EXPECT_EQ(ClientPixel(image, 50, 17), kBlack);
    EXPECT_EQ(ClientPixel(image, 11, 25), kBlack);
    EXPECT_EQ(ClientPixel(image, 5, 35), kBlack);
    EXPECT_EQ(ClientPixel(image, 87, 25), kSilver);
    EXPECT_EQ(ClientPixel(image, 50, 35), kSilver);
    // One empty row, no glyph; below it the empty area crossed by the extended vertical lines.
    EXPECT_EQ(ClientPixel(image, 50, 25), clWindow);
    EXPECT_TRUE(IndicatorIsBare(image, 0));
    EXPECT_EQ(ClientPixel(image, 5, 60), clWindow);
    EXPECT_EQ(ClientPixel(image, 50, 60), clWindow);
    EXPECT_EQ(ClientPixel(image, 11, 60), kBlack);
    EXPECT_EQ(ClientPixel(image, 87, 126), kSilver);
    EXPECT_EQ(ClientPixel(image, 50, 53), clWindow) << "no line below a row that is not there";
    EXPECT_EQ(ClientPixel(image, 298, 8), clWindow) << "right of the last column";
    // Title text 2 pixels from the cell's left and top edges.
    const QRect title = grid_->Geometry().TitleRect(0);
    const QImage reference =
        Reference(title.size(), clBtnFace, clWindowText, grid_->TitleFont(), "F.Desde", 2, 2);
    EXPECT_EQ(CellImage(image, title.adjusted(1, 1, -1, -1)), reference.copy(1, 1, 73, 15));
}

TEST_F(GridPaint, ClosedTablePaintsNoTextAndNoGlyph) {
    ConfigureClosingColumns();
    ShowFocused();
    const QImage image = Grab();
    EXPECT_EQ(CellImage(image, Cell(0, 0)),
              Reference(Cell(0, 0).size(), clWindow, clWindow, grid_->font(), "", 0, 0));
    EXPECT_TRUE(IndicatorIsBare(image, 0));
    EXPECT_EQ(ClientPixel(image, 50, 35), kSilver);
}

TEST_F(GridPaint, TextOffsetsLeftTwoRightThreeTopTwo) {
    ShowClosing(1);
    other_->setFocus();
    Settle();
    const QImage image = Grab();
    const QFont font = grid_->font();
    const QRect date = Cell(0, 0);
    EXPECT_EQ(CellImage(image, date),
              Reference(date.size(), clWindow, clWindowText, font, "01/01/2024", 2, 2));
    const QRect rate = Cell(2, 0);
    EXPECT_EQ(CellImage(image, rate), Reference(rate.size(), clWindow, clWindowText, font, "1",
                                                rate.width() - TextWidth(font, "1") - 3, 2));
    const QRect factor = Cell(3, 0);
    EXPECT_EQ(CellImage(image, factor), Reference(factor.size(), clWindow, clWindowText, font, "0,8",
                                                  factor.width() - TextWidth(font, "0,8") - 3, 2))
        << "0.8 in general format with the system's decimal separator, right-aligned";
    EXPECT_EQ(CellImage(image, Cell(4, 0)), Reference(Cell(4, 0).size(), clWindow, clWindow, font, "", 0, 0))
        << "a null field shows an empty cell";
}

TEST_F(GridPaint, SpanishTextAndLongTextsAreClippedToTheirCells) {
    ShowClosing(1);
    CAjusteAu->Edit();
    CAjusteAu->FieldByName("AJCI_PREFNO").SetAsString("Ñé");
    grid_->Columns().Items(0)->Title().SetCaption(QString::fromUtf8("Año é ").repeated(400));
    other_->setFocus();
    Settle();
    const QImage image = Grab();
    const QRect prefix = Cell(4, 0);
    EXPECT_EQ(CellImage(image, prefix),
              Reference(prefix.size(), clWindow, clWindowText, grid_->font(), QString::fromUtf8("Ñé"), 2, 2));
    const QRect title = grid_->Geometry().TitleRect(1);
    EXPECT_EQ(CellImage(image, title.adjusted(1, 1, -1, -1)),
              Reference(title.size(), clBtnFace, clWindowText, grid_->TitleFont(), "F.Hasta", 2, 2)
                  .copy(1, 1, 73, 15))
        << "the long title of the first column stops at its own cell";
    EXPECT_EQ(ClientPixel(image, 87, 8), kBlack);
}

TEST_F(GridPaint, FocusedCellIsHighlightedWithADottedRectangle) {
    ShowClosing(3);
    ASSERT_TRUE(grid_->hasFocus());
    QImage image = Grab();
    image.save(CONTADO_BINARY_DIR "/grid-focused.png");
    const QRect cell = Cell(0, 0);
    const QColor inverted(0xFF, 0x87, 0x28);
    EXPECT_EQ(ClientPixel(image, cell.topLeft()), inverted);
    EXPECT_EQ(ClientPixel(image, cell.topLeft() + QPoint(1, 0)), clHighlight);
    EXPECT_EQ(ClientPixel(image, cell.topLeft() + QPoint(2, 0)), inverted);
    EXPECT_EQ(ClientPixel(image, cell.topLeft() + QPoint(0, 2)), inverted);
    EXPECT_EQ(ClientPixel(image, cell.topLeft() + QPoint(70, 8)), clHighlight);
    EXPECT_EQ(ClientPixel(image, Cell(1, 0).topLeft() + QPoint(70, 8)), clWindow) << "only the current cell";
    EXPECT_TRUE(ShowsGlyph(image, 0, 0));

    grid_->SetCurrentColumn(2);
    Settle();
    image = Grab();
    EXPECT_EQ(ClientPixel(image, Cell(2, 0).topLeft() + QPoint(5, 8)), clHighlight);
    EXPECT_EQ(ClientPixel(image, cell.topLeft() + QPoint(70, 8)), clWindow);

    other_->setFocus();
    Settle();
    image = Grab();
    EXPECT_EQ(ClientPixel(image, Cell(2, 0).topLeft() + QPoint(5, 8)), clWindow) << "no focus, no highlight";
    EXPECT_EQ(ClientPixel(image, Cell(2, 0).topLeft()), clWindow) << "and no focus rectangle";
    EXPECT_TRUE(ShowsGlyph(image, 0, 0)) << "the arrow stays";
}

TEST_F(GridPaint, GlyphFollowsTheDatasetState) {
    ShowClosing(3);
    CAjusteAu->Next();
    Settle();
    QImage image = Grab();
    EXPECT_TRUE(ShowsGlyph(image, 1, 0)) << "arrow on the current row";
    EXPECT_TRUE(IndicatorIsBare(image, 0));
    EXPECT_TRUE(IndicatorIsBare(image, 2));

    CAjusteAu->Edit();
    Settle();
    EXPECT_TRUE(ShowsGlyph(Grab(), 1, 1)) << "I-beam while editing";
    CAjusteAu->Cancel();
    Settle();
    EXPECT_TRUE(ShowsGlyph(Grab(), 1, 0));

    CAjusteAu->Insert();
    Settle();
    image = Grab();
    EXPECT_TRUE(ShowsGlyph(image, 1, 2)) << "asterisk on the new row";
    EXPECT_TRUE(IndicatorIsBare(image, 2));
    CAjusteAu->Cancel();
    Settle();
    EXPECT_TRUE(ShowsGlyph(Grab(), 1, 0)) << "the arrow is back";
}

TEST_F(GridPaint, SilverGridDrawsGrayLines) {
    ShowClosing(1);
    grid_->SetColor(kSilver);
    Settle();
    const QImage image = Grab();
    EXPECT_EQ(ClientPixel(image, 87, 25), kGray);
    EXPECT_EQ(ClientPixel(image, 87, 100), kGray);
    EXPECT_EQ(ClientPixel(image, 11, 100), kBlack);
}

TEST(GridImages, SevenGlyphsOfSixByElevenAndTheSearchArrow) {
    TGridImages& images = TGridImages::Shared();
    for (int index = 0; index < TGridImages::kCount; ++index) {
        EXPECT_EQ(images.Image(index).size(), QSize(6, 11)) << index;
    }
    EXPECT_EQ(images.Image(0).pixelColor(4, 5), QColor(0, 0, 0)) << "the arrow's tip on the sixth row";
    EXPECT_EQ(images.Image(0).pixelColor(5, 5).alpha(), 0) << "white is transparent";
    EXPECT_EQ(images.Image(5).pixelColor(0, 5), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(images.Image(5).pixelColor(5, 0).alpha(), 0) << "teal is transparent";
    EXPECT_EQ(images.Image(6).pixelColor(0, 5), QColor(0xFF, 0xFF, 0x00)) << "yellow by default";
    images.SetSearchColor(QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(images.Image(6).pixelColor(0, 5), QColor(0x00, 0x7F, 0x7F)) << "teal would be transparent";
    images.SetSearchColor(QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(images.Image(6).pixelColor(0, 5), QColor(0xFF, 0xFF, 0x00));
}

}  // namespace
}  // namespace contado
