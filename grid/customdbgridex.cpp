#include "grid/customdbgridex.h"

#include <QAbstractSlider>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "data/dataset/dataset.h"
#include "data/dataset/datasource.h"
#include "grid/accessiblegrid.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/griddatalinkex.h"
#include "grid/gridimages.h"
#include "grid/popupmonthcalendarex.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kDefaultFontPixels = 11;
// Text sits this far from a cell's left and top edges, and right-aligned text this far from its
// right edge.
constexpr int kTextLeft = 2;
constexpr int kTextTop = 2;
constexpr int kFlatTextTop = 1;
constexpr int kTextRight = 3;
// The incremental search's text is drawn in black on the search colour.
const QColor kSearchTextColor(0x00, 0x00, 0x00);

// The height of the text "Wg": the font's line height.
int TextHeight(const QFont& font) {
    return QFontMetrics(font).height();
}

// Makes another record of the link's window the one fields read, for as long as it lives.
class TActiveRecordScope {
  public:
    TActiveRecordScope(TDataLink& link, int record) : link_(link), previous_(link.ActiveRecord()) {
        link_.SetActiveRecord(record);
    }
    ~TActiveRecordScope() { link_.SetActiveRecord(previous_); }
    TActiveRecordScope(const TActiveRecordScope&) = delete;
    TActiveRecordScope& operator=(const TActiveRecordScope&) = delete;

  private:
    TDataLink& link_;
    int previous_;
};

}  // namespace

TCustomDBGridEx::TCustomDBGridEx(QWidget* parent)
    : TCustomGridEx(parent),
      dataLink_(std::make_unique<TGridDataLinkEx>(*this)),
      columns_(this),
      titleFont_(MsSansSerifFont(kDefaultFontPixels)) {
    setFont(MsSansSerifFont(kDefaultFontPixels));
    UpdateLayout();
}

// The link goes first: a notice must not reach a grid being torn down.
TCustomDBGridEx::~TCustomDBGridEx() {
    dataLink_.reset();
}

TDataSource* TCustomDBGridEx::DataSource() const {
    return dataLink_->DataSource();
}

void TCustomDBGridEx::SetDataSource(TDataSource* source) {
    dataLink_->SetDataSource(source);
    columns_.Bind(DataSet());
    UpdateLayout();
}

TDataSet* TCustomDBGridEx::DataSet() const {
    return dataLink_->DataSet();
}

// ---------------------------------------------------------------------------------------------
// Options, kept consistent with each other

void TCustomDBGridEx::SetOptions(TDBGridOptions options) {
    const bool resizeAdded = options.Contains(dgColumnResize) && !options_.Contains(dgColumnResize);
    const bool resizeRemoved = !options.Contains(dgColumnResize) && options_.Contains(dgColumnResize);
    options_ = options;
    if (resizeAdded) {
        optionsEx_.Include(dghColumnResize);
        optionsEx_.Include(dghColumnMove);
    } else if (resizeRemoved) {
        optionsEx_.Exclude(dghColumnResize);
        optionsEx_.Exclude(dghColumnMove);
    }
    if (options.Contains(dgIndicator)) {
        indicatorOptions_.Include(gioShowRowIndicatorEx);
    } else {
        indicatorOptions_.Exclude(gioShowRowIndicatorEx);
    }
    UpdateLayout();
}

void TCustomDBGridEx::SetOptionsEx(TDBGridExOptions options) {
    optionsEx_ = options;
    if (options.Contains(dghColumnResize) && options.Contains(dghColumnMove)) {
        options_.Include(dgColumnResize);
    } else {
        options_.Exclude(dgColumnResize);
    }
    if (options.Contains(dghShowRecNo)) {
        indicatorOptions_.Include(gioShowRecNoEx);
    } else {
        indicatorOptions_.Exclude(gioShowRecNoEx);
    }
    UpdateLayout();
}

void TCustomDBGridEx::SetIndicatorOptions(TDBGridExIndicatorOptions options) {
    indicatorOptions_ = options;
    if (options.Contains(gioShowRowIndicatorEx)) {
        options_.Include(dgIndicator);
    } else {
        options_.Exclude(dgIndicator);
    }
    if (options.Contains(gioShowRecNoEx)) {
        optionsEx_.Include(dghShowRecNo);
    } else {
        optionsEx_.Exclude(dghShowRecNo);
    }
    UpdateLayout();
}

void TCustomDBGridEx::Loaded() {
    if (options_.Contains(dgColumnResize)) {
        optionsEx_.Include(dghColumnResize);
        optionsEx_.Include(dghColumnMove);
    }
    UpdateLayout();
}

void TCustomDBGridEx::SetTitleFont(const QFont& font) {
    titleFont_ = font;
    UpdateLayout();
}

void TCustomDBGridEx::ColumnChanged(bool sizeChanged) {
    if (sizeChanged) {
        UpdateLayout();
    } else {
        InvalidateClient();
    }
}

void TCustomDBGridEx::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        UpdateLayout();
    }
    TCustomGridEx::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Layout

int TCustomDBGridEx::IndicatorWidth() const {
    return options_.Contains(dgIndicator) ? kIndicatorWidth : 0;
}

int TCustomDBGridEx::DataRowHeight() const {
    return TextHeight(font()) + (Flat() ? 1 : 3) + (options_.Contains(dgRowLines) ? 1 : 0);
}

int TCustomDBGridEx::TitleRowHeight() const {
    if (!options_.Contains(dgTitles)) {
        return 0;
    }
    int height = TextHeight(titleFont_);
    for (const TDBGridColumnEx* column : columns_.VisibleColumns()) {
        height = std::max(height, TextHeight(column->Title().Font()));
    }
    return height + (Flat() ? 2 : 4);
}

TGridGeometry::TSettings TCustomDBGridEx::CellMetrics() {
    visibleColumns_ = columns_.VisibleColumns();
    TGridGeometry::TSettings settings;
    settings.IndicatorWidth = IndicatorWidth();
    settings.TitleHeight = TitleRowHeight();
    settings.RowHeight = DataRowHeight();
    settings.ColLines = options_.Contains(dgColLines);
    settings.RowLines = options_.Contains(dgRowLines);
    for (const TDBGridColumnEx* column : visibleColumns_) {
        settings.ColumnWidths.push_back(column->Width());
    }
    return settings;
}

// The visible rows are exactly the link's window.
void TCustomDBGridEx::VisibleRowsChanged(int rows) {
    dataLink_->SetBufferCount(rows);
    FollowActiveRecord();
}

int TCustomDBGridEx::DataRowCount() const {
    return dataLink_->Active() ? std::max(dataLink_->RecordCount(), 1) : 1;
}

int TCustomDBGridEx::RowCount() const {
    return (options_.Contains(dgTitles) ? 1 : 0) + DataRowCount();
}

void TCustomDBGridEx::FollowActiveRecord() {
    SetCurrentRow(dataLink_->Active() ? dataLink_->ActiveRecord() : 0);
    TAccessibleGrid::Follow(this);
}

// ---------------------------------------------------------------------------------------------
// The vertical bar moves records

// Proportional: one step per record, the thumb on the current record. It shows from two records
// on, even when all of them fit into the view.
TVerticalBarState TCustomDBGridEx::VerticalBarState() const {
    TVerticalBarState state;
    const TDataSet* dataSet = DataSet();
    if (!dataLink_->Active() || dataSet == nullptr) {
        return state;
    }
    const int records = dataSet->RecordCount();
    state.Wanted = records >= 2;
    state.Minimum = 1;
    state.Maximum = std::max(records, 1);
    state.Page = Geometry().VisibleRowCount();
    state.Position = dataSet->State() == dsInsert ? VerticalScrollBar()->value() : dataSet->RecNo();
    return state;
}

void TCustomDBGridEx::VerticalBarAction(int action, int position) {
    TDataSet* dataSet = DataSet();
    if (!dataLink_->Active() || dataSet == nullptr) {
        return;
    }
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            dataLink_->MoveBy(-(dataLink_->ActiveRecord() + 1));
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            dataLink_->MoveBy(dataLink_->RecordCount() - dataLink_->ActiveRecord());
            break;
        case QAbstractSlider::SliderPageStepSub:
            dataLink_->MoveBy(-Geometry().VisibleRowCount());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            dataLink_->MoveBy(Geometry().VisibleRowCount());
            break;
        case QAbstractSlider::SliderMove:
            dataLink_->MoveBy(position - dataSet->RecNo());
            break;
        case QAbstractSlider::SliderToMinimum:
            dataSet->First();
            break;
        case QAbstractSlider::SliderToMaximum:
            dataSet->Last();
            break;
        default:
            break;
    }
}

// While a date cell's calendar is open the wheel moves its day instead of the records.
void TCustomDBGridEx::WheelNotches(int notches) {
    if (editor_ != nullptr && editor_->DroppedDown()) {
        editor_->Calendar()->StepDays(notches);
    } else if (dataLink_->Active()) {
        dataLink_->MoveBy(notches);
    }
}

// ---------------------------------------------------------------------------------------------
// Notices of the data link

void TCustomDBGridEx::LinkActiveChanged() {
    if (!dataLink_->Active()) {
        HideEditor();
    }
    columns_.Bind(DataSet());
    UpdateLayout();
}

void TCustomDBGridEx::LinkDataSetChanged() {
    const int oldRow = CurrentRow();
    EndIncrementalSearch();
    UpdateVerticalBar();
    FollowActiveRecord();
    RowsChanged(oldRow);
    InvalidateClient();
}

void TCustomDBGridEx::LinkDataSetScrolled(int distance) {
    const int oldRow = CurrentRow();
    EndIncrementalSearch();
    UpdateVerticalBar();
    FollowActiveRecord();
    ScrollRows(distance, oldRow);
    RowsChanged(oldRow);
}

void TCustomDBGridEx::LinkLayoutChanged() {
    columns_.Bind(DataSet());
    UpdateLayout();
}

void TCustomDBGridEx::LinkEditingChanged() {
    Viewport()->update(Geometry().IndicatorRect(CurrentRow()));
    TAccessibleGrid::Follow(this);
}

void TCustomDBGridEx::LinkRecordChanged(TField* field) {
    if (field == nullptr) {
        InvalidateClient();
    } else if (VisibleColumnOf(field) >= 0) {
        InvalidateRow(CurrentRow());
    }
    EditorRecordChanged(field);
    TAccessibleGrid::Follow(this);
}

void TCustomDBGridEx::LinkUpdateData() {
    UpdateData();
}

// The column of the field becomes current and the grid takes the focus with its editor shown.
void TCustomDBGridEx::LinkFocusControl(TField** field) {
    const int column = VisibleColumnOf(*field);
    if (column < 0) {
        return;
    }
    SetCurrentColumn(column);
    if (CanFocus()) {
        setFocus(Qt::OtherFocusReason);
        ShowEditor();
        *field = nullptr;
    }
}

int TCustomDBGridEx::VisibleColumnOf(const TField* field) const {
    for (int index = 0; index < static_cast<int>(visibleColumns_.size()); ++index) {
        if (field != nullptr && visibleColumns_[index]->Field() == field) {
            return index;
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Drawing the cells

void TCustomDBGridEx::DrawTitle(QPainter& painter, int column, const QRect& rect) {
    const TColumnTitleEx& title = visibleColumns_.at(column)->Title();
    DrawFixedBackground(painter, rect, title.Color());
    painter.setFont(title.Font());
    painter.setPen(clWindowText);
    DrawCellText(painter, rect, title.Caption(), taLeftJustify, kTextTop);
}

TIndicatorKind TCustomDBGridEx::IndicatorKind() const {
    const TDataSet* dataSet = DataSet();
    switch (dataSet != nullptr ? dataSet->State() : dsInactive) {
        case dsEdit:
            return ikEditing;
        case dsInsert:
            return ikInserting;
        case dsBrowse:
            return IncrementalSearchActive() ? ikSearching : ikBrowse;
        default:
            return ikBrowse;
    }
}

// The glyph is centred in the rightmost indicator-width pixels of the cell.
void TCustomDBGridEx::DrawIndicator(QPainter& painter, int row, const QRect& rect) {
    DrawFixedBackground(painter, rect, FixedColor());
    const bool current =
        dataLink_->Active() && dataLink_->RecordCount() > 0 && row == dataLink_->ActiveRecord();
    if (!current || !options_.Contains(dgIndicator)) {
        return;
    }
    static constexpr int kImageOfKind[] = {0, 5, 1, 2, 6};
    const QImage& glyph = TGridImages::Shared().Image(kImageOfKind[IndicatorKind()]);
    const int stripRight = rect.left() + rect.width();
    const int stripLeft = stripRight - kIndicatorWidth;
    const int x = (stripLeft + stripRight - TGridImages::kWidth) / 2;
    const int y = (rect.top() + rect.top() + rect.height() - TGridImages::kHeight) / 2;
    painter.drawImage(QPoint(x, y), glyph);
}

void TCustomDBGridEx::DrawCell(QPainter& painter, int column, int row, const QRect& rect) {
    const TDBGridColumnEx& item = *visibleColumns_.at(column);
    const TDataSet* dataSet = DataSet();
    const bool hasRecord = row < dataLink_->RecordCount();
    if (!dataLink_->Active() || (!hasRecord && !dataSet->IsEmpty())) {
        painter.fillRect(rect, Color());
        return;
    }
    const bool highlighted = Highlighted(column, row);
    painter.fillRect(rect, highlighted ? clHighlight : item.Color());
    painter.setFont(item.Font());
    painter.setPen(highlighted ? clHighlightText : clWindowText);
    const QString text = hasRecord ? CellText(item, row) : QString();
    const int top = Flat() ? kFlatTextTop : kTextTop;
    DrawCellText(painter, rect, text, item.Alignment(), top);
    if (searchActive_ && column == CurrentColumn() && row == CurrentRow() && hasFocus()) {
        DrawSearchText(painter, rect, text, item.Alignment(), top);
    }
}

bool TCustomDBGridEx::Highlighted(int column, int row) const {
    return column == CurrentColumn() && row == CurrentRow() && hasFocus() &&
           optionsEx_.Contains(dghHighlightFocus);
}

bool TCustomDBGridEx::ShowsFocusRect(int column, int row) const {
    return dataLink_->Active() && !options_.Contains(dgRowSelect) &&
           TCustomGridEx::ShowsFocusRect(column, row);
}

QString TCustomDBGridEx::CellText(const TDBGridColumnEx& column, int row) const {
    TActiveRecordScope scope(*dataLink_, row);
    return column.DisplayText();
}

// One line, clipped to the cell, no ellipsis.
void TCustomDBGridEx::DrawCellText(QPainter& painter, const QRect& rect, const QString& text,
                                   TAlignment alignment, int top) {
    if (text.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    int x = rect.left() + kTextLeft;
    if (alignment == taRightJustify) {
        x = rect.left() + rect.width() - width - kTextRight;
    } else if (alignment == taCenter) {
        x = rect.left() + (rect.width() - width) / 2;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(QPoint(x, rect.top() + top + metrics.ascent()), text);
    painter.restore();
}

// The search text over the beginning of the cell's text, black on yellow: from the text's left edge
// in a left-aligned column, over the first characters of the right-aligned text otherwise.
void TCustomDBGridEx::DrawSearchText(QPainter& painter, const QRect& rect, const QString& cellText,
                                     TAlignment alignment, int top) const {
    if (searchText_.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(painter.font());
    int x = rect.left() + kTextLeft;
    if (alignment != taLeftJustify) {
        x = rect.left() + rect.width() - metrics.horizontalAdvance(cellText) - kTextRight;
    }
    const QRect back(x, rect.top() + top, metrics.horizontalAdvance(searchText_), metrics.height());
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(back, TGridImages::Shared().SearchColor());
    painter.setPen(kSearchTextColor);
    painter.drawText(QPoint(x, back.top() + metrics.ascent()), searchText_);
    painter.restore();
}

}  // namespace contado
