#pragma once

#include <QFont>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/dataset/datasettypes.h"
#include "grid/customgridex.h"
#include "grid/dbgridcolumnsex.h"
#include "grid/gridkeymap.h"
#include "grid/gridoptions.h"
#include "grid/gridsearch.h"
#include "grid/inplaceeditowner.h"

namespace contado {

class TDataSet;
class TDataSource;
class TDBGridInplaceEdit;
class TField;
class TGridDataLinkEx;

// Indicator glyph kinds the grid draws on the current row.
enum TIndicatorKind { ikBrowse, ikRowSelected, ikEditing, ikInserting, ikSearching };

// A grid over the records of a dataset, reached through a data source and the grid's own data
// link: one row per record of the link's window, one column per configured field, a title row and
// an indicator column that marks the current record and its state. The grid keeps no copy of cell
// values; it reads each cell's text from the field while painting. Keys, mouse presses and the
// in-place editor change the records through the data link.
class TCustomDBGridEx : public TCustomGridEx, public TInplaceEditOwner {
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

    // --- The in-place editor
    // Created the first time it is needed; null before.
    TDBGridInplaceEdit* InplaceEdit() const { return editor_; }
    // True while the user wants the editor shown; it shows only where the rules let it.
    bool EditorMode() const { return editorMode_; }
    // Editor mode on: shows the editor on the current cell when the rules let it, else hides it.
    void ShowEditor();
    // Writes the editor's text into the field when the cell was changed; a nested call does nothing.
    void UpdateData();

    // --- Searching
    // Looks for a cell whose text matches, from the column of fieldName (empty: the focused column)
    // in the given direction. On a hit the dataset stands on the record and the grid on the column;
    // otherwise record and screen row are as before. Raises EDatabaseError for an unknown field name.
    bool SearchCellText(const std::string& fieldName, const QString& text, TGridSearchOptions options,
                        TGridSearchDirection direction, TGridSearchMatching matching);
    // An incremental search is running (the indicator then shows it), and what it has matched so far.
    bool IncrementalSearchActive() const { return searchActive_; }
    QString IncrementalSearchText() const { return searchText_; }
    // Opens the program's find dialog for a grid with an initial text; the program installs it.
    using TShowFindDialog = std::function<void(TCustomDBGridEx& grid, const QString& text)>;
    static void SetShowFindDialog(TShowFindDialog show);

    // --- What assistive technology reads (customdbgridexshown.cpp)
    // The records shown (the link's window), none while the dataset is closed; the visible columns;
    // the text a data cell of a shown record is painted with.
    int ShownRecordCount() const;
    const std::vector<TDBGridColumnEx*>& ShownColumns() const { return visibleColumns_; }
    QString ShownCellText(int column, int row) const;

    // --- What the editor asks of the grid
    bool AcceptsCharacter(char32_t character) const override;
    QChar CellDecimalSeparator() const override;
    int CellMaxLength() const override;
    bool CanEditModify() override;
    TGridKeyContext EditorKeyContext() const override;
    void EditorTextChanged(const QString& text) override;
    void EditorKeyForGrid(QKeyEvent* event) override;
    void EditorDropDown() override;
    QDate CalendarStartDate() override;
    void CalendarDateChosen(QDate date) override;
    void EditorFocusLeft(Qt::FocusReason reason) override;

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
    void focusOutEvent(QFocusEvent* event) override;

    bool DispatchKey(QKeyEvent* event) override;
    bool WantsTabs() const override { return options_.Contains(dgTabs); }
    void HideEditor() override;
    void MouseDown(QMouseEvent* event, const TGridHit& hit) override;
    bool CanSizeColumns() const override { return optionsEx_.Contains(dghColumnResize); }
    bool CanMoveColumns() const override { return optionsEx_.Contains(dghColumnMove); }
    void ColumnSized(int column, int width) override;
    void ColumnMoved(int from, int to) override;

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

    // --- The editor's life
    TDBGridInplaceEdit& Editor();
    bool CanEditShow() const;
    bool IsActiveControl() const;
    void LoadEditor(const TDBGridColumnEx& column);
    QRect EditorRect(const TDBGridInplaceEdit& editor) const;
    // The field under the editor changed by another way: a shown editor reloads its text.
    void EditorRecordChanged(TField* field);
    // After the rows changed: a moved current row hides the editor, a hidden one forgets its cell.
    void RowsChanged(int oldRow);
    TDBGridColumnEx* CurrentColumnItem() const;
    TField* CurrentField() const;
    // The focus went to a control outside the grid and its editor.
    void LeaveGrid();
    void TakeFocusBack();

    // --- Key actions
    void DoKeyAction(TGridKeyAction action, QKeyEvent* event);
    void MoveUp();
    void MoveDown();
    bool UntouchedInsert() const;
    bool CanAddRecords() const;
    // Writes the editor's text, hides the editor and makes the column current.
    void SelectColumn(int column);
    void Tab(bool forward);
    void Reset();
    void ShowEditorAtEnd();
    void TypeOnGrid(QKeyEvent* event);
    void InsertRecord();
    void DeleteRecord();
    void CopyFromAbove();

    // --- Incremental search
    // A key a running search takes before its ordinary meaning, and Ctrl+F; true when used up.
    bool SearchKey(TGridKeyAction action, QKeyEvent* event);
    void SearchStartKey();
    void TypeToSearch(QKeyEvent* event);
    // Adds text to the search text and looks for it in the given direction; a miss keeps the old text.
    void IncrementalSearch(const QString& added, TGridSearchDirection direction);
    void EndIncrementalSearch();
    void DropLastSearchCharacter();
    void OpenFindDialog(const QString& text);
    void DrawSearchText(QPainter& painter, const QRect& rect, const QString& cellText, TAlignment alignment,
                        int top) const;

    // --- Cell-text search
    int SearchStartColumn(const std::string& fieldName) const;
    // Offset of the current row from the middle row of the link's window.
    int MiddleRowOffset() const;
    QString SearchedCellText(int position, bool displayText) const;
    // One cell on: the next or prior record, or with allColumns the next or prior visible column.
    void SearchStep(int& position, bool allColumns, TGridSearchDirection direction) const;

    // --- Mouse on cells
    void CellMouseDown(QMouseEvent* event, const TGridHit& hit);
    void MoveToRow(int row);
    bool InDropDownZone(QPoint point, int column, int row) const;

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
    TDBGridInplaceEdit* editor_ = nullptr;
    bool editorMode_ = false;
    bool updatingData_ = false;
    int layoutLock_ = 0;
    QString cellText_;
    bool searchActive_ = false;
    QString searchText_;
};

}  // namespace contado
