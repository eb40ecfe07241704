#pragma once

#include <QDialog>
#include <QPointer>

#include "grid/customdbgridex.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace contado {

// The find dialog of the data grids ("Find text"): a text with its history, the column to search or
// "<All>", how a cell must match, the direction and two check boxes. One object serves the whole
// process, so the history and the settings carry over from one opening and one grid to the next.
// The text searched is always the one typed, Enter always finds the next cell, and the dialog is
// never left minimized.
class TDBGridExFindDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 505;
    static constexpr int kClientHeight = 124;

    // The one dialog, created on the first request and destroyed with the application.
    static TDBGridExFindDlg& Instance();

    // Sets the dialog up for a grid without showing it: the text, the grid's visible columns with
    // its focused one chosen, a fresh search and the focus in the text.
    void Prepare(TCustomDBGridEx& grid, const QString& text);
    // Runs one search as bFind does; reversed: Ctrl was held.
    void FindNext(bool reversed);
    bool FreshSearch() const { return freshSearch_; }
    TCustomDBGridEx* Grid() const { return grid_; }

    QLabel* Label1;
    QComboBox* cbText;
    QLabel* Label2;
    QComboBox* cbFindIn;
    QLabel* cbMatchType;
    QComboBox* cbMatchinType;
    QLabel* Label3;
    QComboBox* cbFindDirection;
    QCheckBox* cbCharCase;
    QCheckBox* cbUseFormat;
    QPushButton* bFind;
    QPushButton* bCancel;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TDBGridExFindDlg();
    void CreateControls();
    void FillFindIn();
    void RememberText();
    TGridSearchOptions Options() const;
    TGridSearchDirection Direction(bool reversed) const;
    TGridSearchMatching Matching() const;
    std::string FieldName() const;
    void bFindClick();
    bool HandleKey(QKeyEvent* event);

    QPointer<TCustomDBGridEx> grid_;
    bool freshSearch_ = true;
};

// Opens the find dialog modally for a grid, with an initial text.
void ShowFindDialog(TCustomDBGridEx& grid, const QString& text);

}  // namespace contado
