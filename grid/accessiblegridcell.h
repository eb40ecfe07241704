#pragma once

#include <QAccessible>
#include <QPointer>

namespace contado {

class TAccessibleGrid;
class TCustomDBGridEx;

// One cell of the data grid's table: a data cell of a shown record, or (row -1) a column's header
// cell. It holds only its place and reads the grid each time it is asked, so a cell says what the
// grid paints there now. The current cell is selected, and focused while the grid has the focus;
// while the in-place editor stands on it, the editor is its one child.
class TAccessibleGridCell : public QAccessibleInterface,
                            public QAccessibleTableCellInterface,
                            public QAccessibleActionInterface {
  public:
    TAccessibleGridCell(TCustomDBGridEx* grid, int row, int column);

    bool IsHeader() const { return row_ < 0; }
    bool IsCurrent() const;

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override { return IsCurrent(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

    // QAccessibleActionInterface: a data cell can be made the current one.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    TAccessibleGrid* GridInterface() const;
    QWidget* ShownEditor() const;
    bool Editable() const;

    QPointer<TCustomDBGridEx> grid_;
    int row_;
    int column_;
};

}  // namespace contado
