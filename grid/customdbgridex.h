#pragma once

#include <QFont>
#include <memory>
#include <vector>

#include "data/dataset/datasettypes.h"
#include "grid/customgridex.h"
#include "grid/dbgridcolumnsex.h"
#include "grid/gridoptions.h"

namespace contado {

class TDataSet;
class TDataSource;
class TField;
class TGridDataLinkEx;

// Indicator glyph kinds the grid draws on the current row.
enum TIndicatorKind { ikBrowse, ikRowSelected, ikEditing, ikInserting, ikSearching };

// A grid over the records of a dataset, reached through a data source and the grid's own data
// link: one row per record of the link's window, one column per configured field, a title row and
// an indicator column that marks the current record and its state. The grid keeps no copy of cell
// values; it reads each cell's text from the field while painting.
class TCustomDBGridEx : public TCustomGridEx {
  public:
    static constexpr int kIndicatorWidth = 11;

    explicit TCustomDBGridEx(QWidget* parent = nullptr);
    ~TCustomDBGridEx() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    TDBGridColumnsEx& Columns() { return columns_; }

    TDBGridOptions Options() const { return options_; }
    // dgIndicator sets the row indicator option alike; dgColumnResize stands for column sizing and
    // moving together.
    void SetOptions(TDBGridOptions options);
    TDBGridExOptions OptionsEx() const { return optionsEx_; }
    void SetOptionsEx(TDBGridExOptions options);
    TDBGridExIndicatorOptions IndicatorOptions() const { return indicatorOptions_; }
    void SetIndicatorOptions(TDBGridExIndicatorOptions options);
    TDBGridExAllowedOperations AllowedOperations() const { return allowedOperations_; }
    void SetAllowedOperations(TDBGridExAllowedOperations operations) { allowedOperations_ = operations; }
    TDBGridExEditActions EditActions() const { return editActions_; }
    void SetEditActions(TDBGridExEditActions actions) { editActions_ = actions; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    QFont TitleFont() const { return titleFont_; }
    void SetTitleFont(const QFont& font);
    // Ends the loading of the settings: column sizing and moving follow dgColumnResize.
    void Loaded();

    // Grid rows: the title row and one per record in the link's window, or one empty row when the
    // dataset is closed or empty.
    int RowCount() const;
    int IndicatorWidth() const;
    int TitleRowHeight() const;
    int DataRowHeight() const;
    // The glyph kind of the current row's indicator in the dataset's present state.
    TIndicatorKind IndicatorKind() const;

    // A column changed; a change of size lays the grid out again.
    void ColumnChanged(bool sizeChanged);

  protected:
    TGridGeometry::TSettings CellMetrics() override;
    int DataRowCount() const override;
    TVerticalBarState VerticalBarState() const override;
    void VisibleRowsChanged(int rows) override;
    void DrawTitle(QPainter& painter, int column, const QRect& rect) override;
    void DrawIndicator(QPainter& painter, int row, const QRect& rect) override;
    void DrawCell(QPainter& painter, int column, int row, const QRect& rect) override;
    bool ShowsFocusRect(int column, int row) const override;
    bool ExtendVertLines() const override { return optionsEx_.Contains(dghExtendVertLines); }
    bool Fixed3D() const override { return optionsEx_.Contains(dghFixed3D); }
    void VerticalBarAction(int action, int position) override;
    void WheelNotches(int notches) override;
    void changeEvent(QEvent* event) override;

    // --- Hooks of the editing layer
    // The in-place editor is shown on the current cell.
    virtual void ShowEditor() {}
    // The field under the editor may have changed by another way: the editor reloads its text.
    virtual void EditorRecordChanged(TField*) {}
    // The dataset is about to post or move: the editor's text goes into the field.
    virtual void UpdateData() {}
    // An incremental search is running (the indicator then shows it).
    virtual bool IncrementalSearchActive() const { return false; }

    TGridDataLinkEx& DataLink() const { return *dataLink_; }

  private:
    friend class TGridDataLinkEx;

    // --- Notices of the data link
    void LinkActiveChanged();
    void LinkDataSetChanged();
    void LinkDataSetScrolled(int distance);
    void LinkLayoutChanged();
    void LinkEditingChanged();
    void LinkRecordChanged(TField* field);
    void LinkUpdateData();
    void LinkFocusControl(TField** field);

    void FollowActiveRecord();
    int VisibleColumnOf(const TField* field) const;
    bool Highlighted(int column, int row) const;
    // The display text of a column in the record of a data row of the link's window.
    QString CellText(const TDBGridColumnEx& column, int row) const;
    static void DrawCellText(QPainter& painter, const QRect& rect, const QString& text, TAlignment alignment,
                             int top);

    std::unique_ptr<TGridDataLinkEx> dataLink_;
    TDBGridColumnsEx columns_;
    std::vector<TDBGridColumnEx*> visibleColumns_;
    TDBGridOptions options_ = kDefaultGridOptions;
    TDBGridExOptions optionsEx_ = kDefaultGridOptionsEx;
    TDBGridExIndicatorOptions indicatorOptions_ = kDefaultIndicatorOptions;
    TDBGridExAllowedOperations allowedOperations_ = kAllOperations;
    TDBGridExEditActions editActions_;
    bool readOnly_ = false;
    QFont titleFont_;
};

}  // namespace contado
