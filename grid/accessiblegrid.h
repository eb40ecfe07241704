#pragma once

#include <QAccessibleWidget>
#include <QMap>
#include <QString>
#include <utility>
#include <vector>

namespace contado {

class TCustomDBGridEx;

// The data grid as assistive technology sees it: a table of the shown records (rows) and visible
// columns, preceded by one column header cell per column. Cells are created on first use, kept
// while the table keeps its size and read live from the grid, so they always say what is painted.
// The grid reports its changes through Follow; the table then tells what moved: a new size, cells
// whose text changed, and the current cell, which is focused while the grid holds the focus.
class TAccessibleGrid : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit TAccessibleGrid(TCustomDBGridEx* grid);
    ~TAccessibleGrid() override;

    // The grid changed its current cell, its records, a value or its focus; the events are sent once
    // the event that caused it is handled, so several changes in a row are told once.
    static void Follow(QWidget* grid);
    // Sends the events for what changed since the last report, at once.
    void ReportChanges();
    // Where the grids' events go: Qt's accessibility while a reader is active, or, set, a recorder
    // that takes them whether or not one is (the offscreen platform never has one); null: Qt again.
    using TEventSink = void (*)(QAccessibleEvent* event);
    static void SetEventSink(TEventSink sink);

    TCustomDBGridEx* Grid() const;
    // The cell of a shown record (row from 0), or with row -1 the header cell of a column.
    QAccessibleInterface* Cell(int row, int column) const;
    bool HasTitles() const;
    // What the current record is going through: "Editando", "Insertando", "Buscando: ..." or nothing.
    QString CurrentRecordState() const;

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

  private:
    // What the last report told.
    struct TSnapshot {
        int Rows = -1;
        int Columns = -1;
        int CurrentRow = -1;
        int CurrentColumn = -1;
        int RecordNumber = -1;
        bool Focused = false;
        QString Description;
        std::vector<QString> Titles;
        std::vector<QString> Texts;  // row by row
    };

    TSnapshot Take() const;
    void ReportCells(const TSnapshot& now);
    void ReportCurrentCell(const TSnapshot& now);
    static void Send(QAccessibleEvent* event);
    void SendStateChange(QAccessibleInterface* cell) const;
    QAccessibleInterface* CachedCell(int row, int column) const;
    void DropCells();

    mutable QMap<std::pair<int, int>, QAccessible::Id> cells_;
    TSnapshot reported_;
    bool pending_ = false;
};

}  // namespace contado
