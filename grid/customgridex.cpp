#include "grid/customgridex.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "grid/accessiblegrid.h"
#include "grid/gridcolumndrag.h"
#include "grid/gridviewport.h"
#include "platform/services/eventhandler.h"
#include "platform/system/frame3d.h"
#include "platform/system/modality.h"
#include "platform/system/systemcolors.h"

namespace contado {

namespace {

const QColor kFixedLineColor(0x00, 0x00, 0x00);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGray(0x80, 0x80, 0x80);
constexpr int kWheelNotch = 120;
constexpr int kLineStepDivisor = 20;

// What becoming or ceasing to be the current row changes in a row that is still on screen: its
// indicator and the current column's cell (focus rectangle, highlight, search text). The damage
// runs from the row's left edge to that cell's right edge, in one piece, so the row is painted once.
QRect CurrentRowMarks(const TGridGeometry& geometry, int column, int row) {
    const QRect rowRect = geometry.RowRect(row);
    if (column < 0 || column >= geometry.ColumnCount()) {
        return rowRect;
    }
    const QRect cell = geometry.CellRect(column, row);
    const int right = std::max(cell.right(), geometry.DataLeft() - 1);
    return QRect(rowRect.topLeft(), QPoint(right, rowRect.bottom())) & rowRect;
}

// A scroll bar that repaints for a new value only when its thumb moves. The vertical bar counts
// records, so over a long table most one-row moves change its value and leave the thumb on the
// same pixels; its value, its signals and what it tells accessibility change as ever. Every other
// change (range, page, a press, the mouse over it) repaints as usual.
class TGridScrollBar : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

  protected:
    void sliderChange(SliderChange change) override {
        if (change == SliderValueChange && painted_ && ThumbRect() == paintedThumb_) {
            return;
        }
        QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent* event) override {
        paintedThumb_ = ThumbRect();
        painted_ = true;
        QScrollBar::paintEvent(event);
    }

  private:
    QRect ThumbRect() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    }

    QRect paintedThumb_;
    bool painted_ = false;
};

QScrollBar* NewScrollBar(Qt::Orientation orientation, QWidget* parent) {
    auto* bar = new TGridScrollBar(orientation, parent);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setTracking(true);
    bar->hide();
    return bar;
}

}  // namespace

TCustomGridEx::TCustomGridEx(QWidget* parent)
    : QWidget(parent),
      viewport_(new TGridViewport(this)),
      verticalBar_(NewScrollBar(Qt::Vertical, this)),
      horizontalBar_(NewScrollBar(Qt::Horizontal, this)),
      columnDrag_(std::make_unique<TGridColumnDrag>(*this)),
      color_(clWindow),
      fixedColor_(clBtnFace) {
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(verticalBar_, &QScrollBar::actionTriggered, this,
            [this](int action) { OnVerticalAction(action); });
    connect(horizontalBar_, &QScrollBar::actionTriggered, this, [this](int) {
        if (CanFocus()) {
            setFocus(Qt::MouseFocusReason);
        }
    });
    connect(horizontalBar_, &QScrollBar::valueChanged, this, [this](int value) { OnHorizontalValue(value); });
}

TCustomGridEx::~TCustomGridEx() = default;

QWidget* TCustomGridEx::Viewport() const {
    return viewport_;
}

void TCustomGridEx::SetColor(const QColor& color) {
    color_ = color;
    InvalidateClient();
}

void TCustomGridEx::SetFixedColor(const QColor& color) {
    fixedColor_ = color;
    InvalidateClient();
}

void TCustomGridEx::SetFlat(bool flat) {
    flat_ = flat;
    UpdateLayout();
}

// ---------------------------------------------------------------------------------------------
// Layout and scroll bars

void TCustomGridEx::UpdateLayout() {
    const bool verticalBar = VerticalBarState().Wanted;
    TGridGeometry::TSettings settings = CellMetrics();
    QRect client = TGridGeometry::ClientRect(size(), verticalBar, false);
    settings.ClientSize = client.size();
    const bool horizontalBar = TGridGeometry(settings).NeedsHorizontalBar();
    if (horizontalBar) {
        client = TGridGeometry::ClientRect(size(), verticalBar, true);
        settings.ClientSize = client.size();
    }
    const int offset = geometry_.Offset();
    geometry_ = TGridGeometry(settings);
    geometry_.SetOffset(offset);
    PlaceChildren(client, verticalBar, horizontalBar);
    SetHorizontalBarRange();
    VisibleRowsChanged(geometry_.VisibleRowCount());
    ApplyVerticalBar(VerticalBarState());
    InvalidateClient();
    update();
}

void TCustomGridEx::PlaceChildren(const QRect& client, bool verticalBar, bool horizontalBar) {
    viewport_->setGeometry(client);
    verticalBar_->setGeometry(client.right() + 1, client.top(), kScrollBarThickness, client.height());
    verticalBar_->setVisible(verticalBar);
    horizontalBar_->setGeometry(client.left(), client.bottom() + 1, client.width(), kScrollBarThickness);
    horizontalBar_->setVisible(horizontalBar);
}

void TCustomGridEx::SetHorizontalBarRange() {
    const int area = geometry_.DataAreaWidth();
    settingBars_ = true;
    horizontalBar_->setRange(0, geometry_.MaxOffset());
    horizontalBar_->setPageStep(area);
    horizontalBar_->setSingleStep(std::max(area / kLineStepDivisor, 1));
    horizontalBar_->setValue(geometry_.Offset());
    settingBars_ = false;
}

void TCustomGridEx::UpdateVerticalBar() {
    const TVerticalBarState state = VerticalBarState();
    if (state.Wanted == verticalBar_->isHidden()) {
        UpdateLayout();
    } else {
        ApplyVerticalBar(state);
    }
}

void TCustomGridEx::ApplyVerticalBar(const TVerticalBarState& state) {
    settingBars_ = true;
    verticalBar_->setRange(state.Minimum, state.Maximum);
    verticalBar_->setPageStep(state.Page);
    verticalBar_->setValue(state.Position);
    settingBars_ = false;
}

// A request the grid cannot take the focus for is dropped; the thumb goes back to the record. A
// held arrow stops repeating when the move fails or a box has been opened over the window; the
// error is shown here, so it never unwinds through the scroll bar's own code.
void TCustomGridEx::OnVerticalAction(int action) {
    if (BlockedByModalWindow(this)) {
        LetGoOfBar(verticalBar_);
        return;
    }
    RunHandler([this, action] {
        try {
            if (CanFocus()) {
                setFocus(Qt::MouseFocusReason);
                VerticalBarAction(action, verticalBar_->sliderPosition());
            }
        } catch (...) {
            LetGoOfBar(verticalBar_);
            throw;
        }
    });
    const TVerticalBarState state = VerticalBarState();
    verticalBar_->setSliderPosition(state.Position);
}

// The bar forgets the press, as at its release: no more repeats, its arrow or thumb raised again.
void TCustomGridEx::LetGoOfBar(QScrollBar* bar) {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), bar->mapToGlobal(QPointF(-1, -1)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &release);
}

void TCustomGridEx::OnHorizontalValue(int value) {
    if (!settingBars_) {
        SetHorizontalOffset(value);
    }
}

void TCustomGridEx::SetHorizontalOffset(int offset) {
    const int previous = geometry_.Offset();
    const int current = geometry_.SetOffset(offset);
    if (current == previous) {
        return;
    }
    viewport_->scroll(previous - current, 0, geometry_.ColumnsArea());
    if (inplaceEditor_ != nullptr && !inplaceEditor_->isHidden()) {
        inplaceEditor_->move(inplaceEditor_->pos() + QPoint(previous - current, 0));
    }
    settingBars_ = true;
    horizontalBar_->setValue(current);
    settingBars_ = false;
}

void TCustomGridEx::SetCurrentColumn(int column) {
    if (column < 0 || column >= geometry_.ColumnCount()) {
        return;
    }
    InvalidateCell(column_, row_);
    column_ = column;
    SetHorizontalOffset(geometry_.OffsetToShow(column));
    InvalidateCell(column_, row_);
    TAccessibleGrid::Follow(this);
}

bool TCustomGridEx::CanFocus() const {
    return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus;
}

void TCustomGridEx::HideEditor() {
    if (inplaceEditor_ == nullptr || inplaceEditor_->isHidden()) {
        return;
    }
    // The focus comes back first: hiding a focused editor would hand it to the next control.
    if (inplaceEditor_->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    inplaceEditor_->hide();
}

// ---------------------------------------------------------------------------------------------
// Repainting and scrolling

void TCustomGridEx::InvalidateRow(int row) {
    if (row >= 0 && row < geometry_.VisibleRowCount()) {
        viewport_->update(geometry_.RowRect(row));
    }
}

void TCustomGridEx::InvalidateCell(int column, int row) {
    if (column >= 0 && column < geometry_.ColumnCount() && row >= 0 && row < geometry_.VisibleRowCount()) {
        viewport_->update(geometry_.CellRect(column, row));
    }
}

void TCustomGridEx::InvalidateClient() {
    viewport_->update();
}

void TCustomGridEx::ScrollRows(int distance, int oldRow) {
    const int visible = geometry_.VisibleRowCount();
    QRegion damage;
    if (distance != 0) {
        HideEditor();
    }
    if (std::abs(distance) > visible) {
        damage = geometry_.RowsArea();
    } else {
        if (distance != 0) {
            viewport_->scroll(0, -distance * geometry_.RowPitch(), geometry_.RowsArea());
        }
        const int firstUncovered = distance > 0 ? visible - distance : 0;
        for (int row = firstUncovered; row < firstUncovered + std::abs(distance); ++row) {
            damage += geometry_.RowRect(row);
        }
        for (int row : {oldRow - distance, row_}) {
            if (row >= 0 && row < visible) {
                damage += CurrentRowMarks(geometry_, column_, row);
            }
        }
    }
    viewport_->repaint(damage);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TCustomGridEx::PaintClient(const QRegion& region) {
    QPainter painter(viewport_);
    const int rowCount = DataRowCount();
    for (const QRect& rect : region) {
        painter.save();
        painter.setClipRect(rect);
        PaintRect(painter, rect, rowCount);
        painter.restore();
    }
    painter.setClipRegion(region);
    columnDrag_->Paint(painter);
}

void TCustomGridEx::PaintRect(QPainter& painter, const QRect& rect, int rowCount) {
    std::pair<int, int> rows = geometry_.RowsIn(rect);
    rows.second = std::min(rows.second, rowCount - 1);
    const std::pair<int, int> columns = geometry_.ColumnsIn(rect);
    PaintFixedCells(painter, rect, rows, columns);
    PaintDataCells(painter, rect, rows, columns);
    PaintLines(painter, rect, rows, columns);
    PaintEmptyArea(painter, rect, rowCount);
    for (int row = rows.first; row <= rows.second; ++row) {
        paintedRows_.insert(row);
    }
}

void TCustomGridEx::PaintFixedCells(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                                    std::pair<int, int> columns) {
    const TGridGeometry::TSettings& settings = geometry_.Settings();
    const bool indicator = settings.IndicatorWidth > 0 && rect.left() < geometry_.DataLeft();
    if (settings.TitleHeight > 0 && rect.top() < geometry_.DataTop()) {
        if (indicator) {
            DrawCorner(painter, geometry_.CornerRect());
        }
        painter.save();
        painter.setClipRect(rect & geometry_.ColumnsArea());
        for (int column = columns.first; column <= columns.second; ++column) {
            DrawTitle(painter, column, geometry_.TitleRect(column));
        }
        painter.restore();
    }
    if (indicator) {
        for (int row = rows.first; row <= rows.second; ++row) {
            DrawIndicator(painter, row, geometry_.IndicatorRect(row));
        }
    }
}

void TCustomGridEx::PaintDataCells(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                                   std::pair<int, int> columns) {
    painter.save();
    painter.setClipRect(rect & geometry_.ColumnsArea());
    for (int row = rows.first; row <= rows.second; ++row) {
        for (int column = columns.first; column <= columns.second; ++column) {
            const QRect cell = geometry_.CellRect(column, row);
            DrawCell(painter, column, row, cell);
            if (ShowsFocusRect(column, row)) {
                DrawFocusRect(painter, cell);
            }
        }
    }
    painter.restore();
}

// Lines of the fixed cells are black, lines between data cells silver.
void TCustomGridEx::PaintLines(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                               std::pair<int, int> columns) {
    const TGridGeometry& g = geometry_;
    const int vertical = g.VertLineWidth();
    const int horizontal = g.HorzLineWidth();
    const int indicator = g.Settings().IndicatorWidth;
    const int rowHeight = g.Settings().RowHeight;
    const int rowsBottom = g.RowTop(rows.second + 1);
    const QColor dataLine = DataLineColor();
    if (g.Settings().TitleHeight > 0) {
        painter.fillRect(QRect(0, g.Settings().TitleHeight, g.ColumnsRight(), horizontal), kFixedLineColor);
    }
    if (indicator > 0) {
        painter.fillRect(QRect(indicator, 0, vertical, rows.first <= rows.second ? rowsBottom : g.DataTop()),
                         kFixedLineColor);
        for (int row = rows.first; row <= rows.second; ++row) {
            painter.fillRect(QRect(0, g.RowTop(row) + rowHeight, indicator + vertical, horizontal),
                             kFixedLineColor);
        }
    }
    painter.save();
    painter.setClipRect(rect & g.ColumnsArea());
    for (int column = columns.first; column <= columns.second; ++column) {
        const int x = g.ColumnLeft(column) + g.Settings().ColumnWidths[column];
        painter.fillRect(QRect(x, 0, vertical, g.Settings().TitleHeight), kFixedLineColor);
        if (rows.first <= rows.second) {
            painter.fillRect(QRect(x, g.RowTop(rows.first), vertical, rowsBottom - g.RowTop(rows.first)),
                             dataLine);
        }
    }
    for (int row = rows.first; row <= rows.second; ++row) {
        painter.fillRect(
            QRect(g.DataLeft(), g.RowTop(row) + rowHeight, g.ColumnsRight() - g.DataLeft(), horizontal),
            dataLine);
    }
    painter.restore();
}

// Right of the last column and below the last row: the grid's colour, crossed by the extended
// vertical lines.
void TCustomGridEx::PaintEmptyArea(QPainter& painter, const QRect& rect, int rowCount) {
    const TGridGeometry& g = geometry_;
    const QSize client = g.Settings().ClientSize;
    const int right = g.ColumnsRight();
    const int below = g.RowTop(rowCount);
    painter.fillRect(QRect(right, 0, client.width() - right, client.height()), color_);
    painter.fillRect(QRect(0, below, client.width(), client.height() - below), color_);
    if (!ExtendVertLines() || below >= client.height()) {
        return;
    }
    const int height = client.height() - below;
    if (g.Settings().IndicatorWidth > 0) {
        painter.fillRect(QRect(g.Settings().IndicatorWidth, below, g.VertLineWidth(), height),
                         kFixedLineColor);
    }
    painter.save();
    painter.setClipRect(rect & g.ColumnsArea());
    const QColor dataLine = DataLineColor();
    const std::pair<int, int> columns = g.ColumnsIn(rect);
    for (int column = columns.first; column <= columns.second; ++column) {
        const int x = g.ColumnLeft(column) + g.Settings().ColumnWidths[column];
        painter.fillRect(QRect(x, below, g.VertLineWidth(), height), dataLine);
    }
    painter.restore();
}

void TCustomGridEx::DrawCorner(QPainter& painter, const QRect& rect) {
    DrawFixedBackground(painter, rect, fixedColor_);
}

void TCustomGridEx::DrawFixedBackground(QPainter& painter, const QRect& rect, const QColor& color) const {
    if (!Fixed3D() || flat_) {
        painter.fillRect(rect, color);
        return;
    }
    QRect inner = rect;
    Frame3D(painter, inner, clBtnHighlight, clBtnShadow, 1);
    painter.fillRect(inner, color);
}

bool TCustomGridEx::ShowsFocusRect(int column, int row) const {
    return column == column_ && row == row_ && hasFocus();
}

// A dotted rectangle on the cell's border, every other pixel inverted.
void TCustomGridEx::DrawFocusRect(QPainter& painter, const QRect& rect) const {
    QPolygon dots;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y : {rect.top(), rect.bottom()}) {
            if ((x - rect.left() + y - rect.top()) % 2 == 0) {
                dots << QPoint(x, y);
            }
        }
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        for (int x : {rect.left(), rect.right()}) {
            if ((x - rect.left() + y - rect.top()) % 2 == 0) {
                dots << QPoint(x, y);
            }
        }
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawPoints(dots);
    painter.restore();
}

QColor TCustomGridEx::DataLineColor() const {
    return color_ == kSilver ? kGray : kSilver;
}

// ---------------------------------------------------------------------------------------------
// Events

void TCustomGridEx::resizeEvent(QResizeEvent*) {
    UpdateLayout();
}

// The sunken client edge, and the corner between the two bars.
void TCustomGridEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect edge = rect();
    Frame3D(painter, edge, clBtnShadow, clBtnHighlight, 1);
    Frame3D(painter, edge, cl3DDkShadow, clBtnFace, 1);
    if (!verticalBar_->isHidden() && !horizontalBar_->isHidden()) {
        painter.fillRect(
            QRect(verticalBar_->x(), horizontalBar_->y(), kScrollBarThickness, kScrollBarThickness),
            clBtnFace);
    }
}

void TCustomGridEx::focusInEvent(QFocusEvent* event) {
    InvalidateCell(column_, row_);
    TAccessibleGrid::Follow(this);
    QWidget::focusInEvent(event);
}

void TCustomGridEx::focusOutEvent(QFocusEvent* event) {
    InvalidateCell(column_, row_);
    TAccessibleGrid::Follow(this);
    QWidget::focusOutEvent(event);
}

// Tab and Shift+Tab are the grid's own keys rather than the window's focus movement.
bool TCustomGridEx::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && WantsTabs()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

// Text composed by the input method (a dead key and its letter, a compose sequence) is typed on
// the grid as the keys that give it would be, one character after another.
void TCustomGridEx::inputMethodEvent(QInputMethodEvent* event) {
    const QString text = event->commitString();
    for (int index = 0; index < text.size();) {
        const int length = text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(index, length));
        RunHandler([this, &key] { DispatchKey(&key); });
        index += length;
    }
    event->accept();
}

// A key the grid does not use goes on to the parents; Ctrl+Tab stays and does nothing.
void TCustomGridEx::keyPressEvent(QKeyEvent* event) {
    bool used = true;
    RunHandler([this, event, &used] { used = DispatchKey(event); });
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!used && !tab) {
        QWidget::keyPressEvent(event);
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCustomGridEx::ClientMousePress(QMouseEvent* event) {
    RunHandler([this, event] { MouseDown(event, geometry_.HitTest(event->position().toPoint())); });
}

void TCustomGridEx::MouseDown(QMouseEvent* event, const TGridHit& hit) {
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton && CanMoveColumns();
    if (columnDrag_->Mode() == TGridColumnDrag::dmNone && (left || right)) {
        columnDrag_->Press(event->position().toPoint(), hit, CanSizeColumns(), CanMoveColumns());
    }
}

// Without a button the cursor tells the sizing zone of a title.
void TCustomGridEx::ClientMouseMove(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (columnDrag_->Mode() != TGridColumnDrag::dmNone) {
        RunHandler([this, point] { columnDrag_->Move(point); });
        return;
    }
    const bool sizing = CanSizeColumns() && geometry_.HitTest(point).Kind == ghColumnSizing;
    if (sizing) {
        viewport_->setCursor(Qt::SplitHCursor);
    } else {
        viewport_->unsetCursor();
    }
}

void TCustomGridEx::ClientMouseRelease(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    RunHandler([this, point] { columnDrag_->Release(point); });
}

// Notches down move forward; a part of a notch waits for the rest.
void TCustomGridEx::wheelEvent(QWheelEvent* event) {
    wheelDelta_ += event->angleDelta().y();
    const int notches = wheelDelta_ / kWheelNotch;
    wheelDelta_ -= notches * kWheelNotch;
    if (notches != 0) {
        WheelNotches(-notches);
    }
    event->accept();
}

}  // namespace contado
