#pragma once

#include <QColor>
#include <QWidget>
#include <memory>
#include <set>

#include "grid/gridgeometry.h"

class QPainter;
class QScrollBar;

namespace contado {

class TGridColumnDrag;
class TGridViewport;

// What the vertical bar shows; hidden when not wanted.
struct TVerticalBarState {
    bool Wanted = false;
    int Minimum = 0;
    int Maximum = 0;
    int Page = 1;
    int Position = 0;
};

// A generic grid of cells inside a sunken edge: a fixed indicator column and title row, data cells
// that scroll, grid lines, the scroll bars and the hosting of an in-place editor. It paints in
// passes (fixed cells, data cells, lines, empty area) over the damaged part only, and shifts the
// painted image when it scrolls. What a cell holds is for a derived class to draw.
class TCustomGridEx : public QWidget {
  public:
    explicit TCustomGridEx(QWidget* parent = nullptr);
    ~TCustomGridEx() override;

    const TGridGeometry& Geometry() const { return geometry_; }
    QWidget* Viewport() const;
    QScrollBar* VerticalScrollBar() const { return verticalBar_; }
    QScrollBar* HorizontalScrollBar() const { return horizontalBar_; }

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const QColor& color);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    // The current cell: a data column and a data row, both from 0.
    int CurrentColumn() const { return column_; }
    int CurrentRow() const { return row_; }
    // Makes a column current and brings it into view.
    void SetCurrentColumn(int column);
    int HorizontalOffset() const { return geometry_.Offset(); }
    // Shifts the data columns sideways, clipped to the columns' width; the rows stay.
    void SetHorizontalOffset(int offset);

    // The data rows painted since the counter was last cleared, each once.
    const std::multiset<int>& PaintedRows() const { return paintedRows_; }
    void ClearPaintedRows() { paintedRows_.clear(); }

    // Paints the damaged part of the client area; the viewport calls it.
    void PaintClient(const QRegion& region);
    // Mouse events of the client area, from the viewport; errors end in the default error box.
    void ClientMousePress(QMouseEvent* event);
    void ClientMouseMove(QMouseEvent* event);
    void ClientMouseRelease(QMouseEvent* event);

    // Sizing and moving columns by their titles.
    TGridColumnDrag& ColumnDrag() const { return *columnDrag_; }

  protected:
    // --- What a derived grid supplies
    // Cell sizes and lines, asked once per layout; the client size is filled in by the layout.
    virtual TGridGeometry::TSettings CellMetrics() = 0;
    // Data rows that hold cells; the rows below them belong to the empty area.
    virtual int DataRowCount() const = 0;
    virtual TVerticalBarState VerticalBarState() const = 0;
    // Called by the layout whenever it has counted the whole rows that fit.
    virtual void VisibleRowsChanged(int) {}
    virtual void DrawCorner(QPainter& painter, const QRect& rect);
    virtual void DrawTitle(QPainter& painter, int column, const QRect& rect) = 0;
    virtual void DrawIndicator(QPainter& painter, int row, const QRect& rect) = 0;
    virtual void DrawCell(QPainter& painter, int column, int row, const QRect& rect) = 0;
    // The focused cell gets a dotted rectangle; a derived grid may decide otherwise.
    virtual bool ShowsFocusRect(int column, int row) const;
    virtual bool ExtendVertLines() const { return false; }
    virtual bool Fixed3D() const { return true; }
    // A request of the vertical bar (a QAbstractSlider action); the bar then shows the current record.
    virtual void VerticalBarAction(int action, int position) = 0;
    virtual void WheelNotches(int notches) = 0;
    // The one place where keys are handled; answers whether the key was used.
    virtual bool DispatchKey(QKeyEvent*) { return false; }
    // Whether Tab and Shift+Tab move between cells instead of leaving the grid.
    virtual bool WantsTabs() const { return true; }
    // A press on the client area; the generic grid starts sizing or moving a column on a title.
    virtual void MouseDown(QMouseEvent* event, const TGridHit& hit);
    virtual bool CanSizeColumns() const { return false; }
    virtual bool CanMoveColumns() const { return false; }
    // The column sizing or moving by mouse ended with a change.
    virtual void ColumnSized(int, int) {}
    virtual void ColumnMoved(int, int) {}

    // --- The in-place editor, which an editing grid installs
    QWidget* InplaceEditor() const { return inplaceEditor_; }
    void SetInplaceEditor(QWidget* editor) { inplaceEditor_ = editor; }
    // Hides the editor; the grid takes the focus back when the editor had it.
    virtual void HideEditor();

    // --- Services for a derived grid
    // Recomputes cell sizes, the bars, the client size and the rows that fit, and repaints.
    void UpdateLayout();
    // Shows, hides or sets the vertical bar after the data changed.
    void UpdateVerticalBar();
    void SetCurrentRow(int row) { row_ = row; }
    void InvalidateRow(int row);
    void InvalidateCell(int column, int row);
    void InvalidateClient();
    // The data rows moved by distance rows (positive: up); oldRow is the current row before the
    // move. Shifts the image when it can and repaints the uncovered rows and both current rows.
    void ScrollRows(int distance, int oldRow);
    // Fills a fixed cell with its colour and, when 3-D, a raised bevel.
    void DrawFixedBackground(QPainter& painter, const QRect& rect, const QColor& color) const;
    bool CanFocus() const;

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    friend class TGridColumnDrag;

    void PlaceChildren(const QRect& client, bool verticalBar, bool horizontalBar);
    void SetHorizontalBarRange();
    void ApplyVerticalBar(const TVerticalBarState& state);
    void OnVerticalAction(int action);
    static void LetGoOfBar(QScrollBar* bar);
    void OnHorizontalValue(int value);

    void PaintRect(QPainter& painter, const QRect& rect, int rowCount);
    void PaintFixedCells(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                         std::pair<int, int> columns);
    void PaintDataCells(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                        std::pair<int, int> columns);
    void PaintLines(QPainter& painter, const QRect& rect, std::pair<int, int> rows,
                    std::pair<int, int> columns);
    void PaintEmptyArea(QPainter& painter, const QRect& rect, int rowCount);
    void DrawFocusRect(QPainter& painter, const QRect& rect) const;
    QColor DataLineColor() const;

    TGridGeometry geometry_;
    TGridViewport* viewport_;
    QScrollBar* verticalBar_;
    QScrollBar* horizontalBar_;
    QWidget* inplaceEditor_ = nullptr;
    std::unique_ptr<TGridColumnDrag> columnDrag_;
    QColor color_;
    QColor fixedColor_;
    bool flat_ = false;
    bool settingBars_ = false;
    int column_ = 0;
    int row_ = 0;
    int wheelDelta_ = 0;
    std::multiset<int> paintedRows_;
};

}  // namespace contado
