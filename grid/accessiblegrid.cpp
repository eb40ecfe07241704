#include "grid/accessiblegrid.h"

#include <QMetaObject>

#include "data/dataset/dataset.h"
#include "grid/accessiblegridcell.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"

namespace contado {

namespace {

TAccessibleGrid::TEventSink eventSink = nullptr;

}  // namespace

TAccessibleGrid::TAccessibleGrid(TCustomDBGridEx* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

TAccessibleGrid::~TAccessibleGrid() {
    DropCells();
}

TCustomDBGridEx* TAccessibleGrid::Grid() const {
    return static_cast<TCustomDBGridEx*>(widget());
}

void TAccessibleGrid::Follow(QWidget* widget) {
    auto* grid = dynamic_cast<TCustomDBGridEx*>(widget);
    if ((!QAccessible::isActive() && eventSink == nullptr) || grid == nullptr) {
        return;
    }
    auto* table = dynamic_cast<TAccessibleGrid*>(QAccessible::queryAccessibleInterface(grid));
    if (table == nullptr || table->pending_) {
        return;
    }
    table->pending_ = true;
    QMetaObject::invokeMethod(
        grid,
        [grid] {
            if (auto* table = dynamic_cast<TAccessibleGrid*>(QAccessible::queryAccessibleInterface(grid))) {
                table->pending_ = false;
                table->ReportChanges();
            }
        },
        Qt::QueuedConnection);
}

void TAccessibleGrid::SetEventSink(TEventSink sink) {
    eventSink = sink;
}

void TAccessibleGrid::Send(QAccessibleEvent* event) {
    if (eventSink != nullptr) {
        eventSink(event);
    } else {
        QAccessible::updateAccessibility(event);
    }
}

bool TAccessibleGrid::HasTitles() const {
    return Grid()->Options().Contains(dgTitles);
}

QString TAccessibleGrid::CurrentRecordState() const {
    switch (Grid()->IndicatorKind()) {
        case ikEditing:
            return QStringLiteral("Editando");
        case ikInserting:
            return QStringLiteral("Insertando");
        case ikSearching:
            return QStringLiteral("Buscando: ") + Grid()->IncrementalSearchText();
        default:
            return QString();
    }
}

// ---------------------------------------------------------------------------------------------
// The table's own properties and its children: the header cells, then the data cells row by row

QAccessible::State TAccessibleGrid::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = Grid()->ReadOnly() || !Grid()->Options().Contains(dgEditing);
    return state;
}

// A table without a name of its own takes that of the pane around it ("Tarifas").
QString TAccessibleGrid::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        if (QAccessibleInterface* around = parent();
            around != nullptr && around->role() == QAccessible::Pane) {
            return around->text(QAccessible::Name);
        }
    }
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
        return CurrentRecordState();
    }
    return QAccessibleWidget::text(t);
}

int TAccessibleGrid::columnCount() const {
    return static_cast<int>(Grid()->ShownColumns().size());
}

int TAccessibleGrid::rowCount() const {
    return Grid()->ShownRecordCount();
}

int TAccessibleGrid::childCount() const {
    return columnCount() * (rowCount() + (HasTitles() ? 1 : 0));
}

QAccessibleInterface* TAccessibleGrid::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const int row = index / columns - (HasTitles() ? 1 : 0);
    return Cell(row, index % columns);
}

int TAccessibleGrid::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const TAccessibleGridCell*>(child);
    if (cell == nullptr || !cell->isValid() || cell->table() != this) {
        return -1;
    }
    return (cell->rowIndex() + (HasTitles() ? 1 : 0)) * columnCount() + cell->columnIndex();
}

QAccessibleInterface* TAccessibleGrid::childAt(int x, int y) const {
    const TGridHit hit = Grid()->Geometry().HitTest(Grid()->Viewport()->mapFromGlobal(QPoint(x, y)));
    if (hit.Kind == ghCell) {
        return Cell(hit.Row, hit.Column);
    }
    return hit.Kind == ghTitle ? Cell(-1, hit.Column) : nullptr;
}

// The editor while it has the focus, else the current cell while the grid has it.
QAccessibleInterface* TAccessibleGrid::focusChild() const {
    TDBGridInplaceEdit* editor = Grid()->InplaceEdit();
    if (editor != nullptr && editor->hasFocus()) {
        return QAccessible::queryAccessibleInterface(editor);
    }
    return Grid()->hasFocus() ? Cell(Grid()->CurrentRow(), Grid()->CurrentColumn()) : nullptr;
}

void* TAccessibleGrid::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

// ---------------------------------------------------------------------------------------------
// Cells

QAccessibleInterface* TAccessibleGrid::Cell(int row, int column) const {
    const bool inside =
        column >= 0 && column < columnCount() && (row == -1 ? HasTitles() : row >= 0 && row < rowCount());
    if (!inside) {
        return nullptr;
    }
    if (QAccessibleInterface* cached = CachedCell(row, column)) {
        return cached;
    }
    auto* cell = new TAccessibleGridCell(Grid(), row, column);
    cells_.insert({row, column}, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* TAccessibleGrid::CachedCell(int row, int column) const {
    const auto found = cells_.constFind({row, column});
    return found != cells_.constEnd() ? QAccessible::accessibleInterface(*found) : nullptr;
}

void TAccessibleGrid::DropCells() {
    for (const QAccessible::Id id : std::as_const(cells_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
    cells_.clear();
}

QAccessibleInterface* TAccessibleGrid::cellAt(int row, int column) const {
    return row >= 0 ? Cell(row, column) : nullptr;
}

int TAccessibleGrid::selectedCellCount() const {
    return selectedCells().size();
}

// The current cell is the one selected.
QList<QAccessibleInterface*> TAccessibleGrid::selectedCells() const {
    if (QAccessibleInterface* current = Cell(Grid()->CurrentRow(), Grid()->CurrentColumn())) {
        return {current};
    }
    return {};
}

QString TAccessibleGrid::columnDescription(int column) const {
    const auto& columns = Grid()->ShownColumns();
    return column >= 0 && column < columnCount() ? columns[column]->Title().Caption() : QString();
}

// The table drops its cells itself when it reports a new size (ReportChanges).
void TAccessibleGrid::modelChange(QAccessibleTableModelChangeEvent*) {}

// ---------------------------------------------------------------------------------------------
// Reporting changes

TAccessibleGrid::TSnapshot TAccessibleGrid::Take() const {
    TCustomDBGridEx* grid = Grid();
    TSnapshot snapshot;
    snapshot.Rows = rowCount();
    snapshot.Columns = columnCount();
    snapshot.CurrentRow = grid->CurrentRow();
    snapshot.CurrentColumn = grid->CurrentColumn();
    snapshot.RecordNumber =
        grid->DataSet() != nullptr && grid->DataSet()->Active() ? grid->DataSet()->RecNo() : -1;
    snapshot.Focused = grid->hasFocus();
    snapshot.Description = CurrentRecordState();
    for (int column = 0; column < snapshot.Columns; ++column) {
        snapshot.Titles.push_back(columnDescription(column));
    }
    for (int row = 0; row < snapshot.Rows; ++row) {
        for (int column = 0; column < snapshot.Columns; ++column) {
            snapshot.Texts.push_back(grid->ShownCellText(column, row));
        }
    }
    return snapshot;
}

void TAccessibleGrid::ReportChanges() {
    if (!isValid()) {
        return;
    }
    TSnapshot now = Take();
    const bool resized = now.Rows != reported_.Rows || now.Columns != reported_.Columns;
    if (resized) {
        // Cells past the new size would point nowhere; all go, and the reader asks again.
        DropCells();
        if (reported_.Rows >= 0) {
            QAccessibleTableModelChangeEvent reset(widget(), QAccessibleTableModelChangeEvent::ModelReset);
            Send(&reset);
        }
        reported_.CurrentRow = -1;
    } else {
        ReportCells(now);
    }
    ReportCurrentCell(now);
    reported_ = std::move(now);
}

// A cell the reader has seen and whose text changed tells its new name. The cells are gathered
// first: a reader answering an event may ask for more cells.
void TAccessibleGrid::ReportCells(const TSnapshot& now) {
    std::vector<QAccessible::Id> changed;
    for (auto entry = cells_.constBegin(); entry != cells_.constEnd(); ++entry) {
        const auto [row, column] = entry.key();
        const int index = row * now.Columns + column;
        if (row < 0 ? now.Titles[column] != reported_.Titles[column]
                    : now.Texts[index] != reported_.Texts[index]) {
            changed.push_back(entry.value());
        }
    }
    for (const QAccessible::Id id : changed) {
        if (QAccessibleInterface* cell = QAccessible::accessibleInterface(id)) {
            QAccessibleEvent event(cell, QAccessible::NameChanged);
            Send(&event);
        }
    }
}

// The cell left and the cell reached change their selected and focused states; the one reached takes
// the focus while the grid has it, also when it is the same cell showing another record.
void TAccessibleGrid::ReportCurrentCell(const TSnapshot& now) {
    const bool moved = now.CurrentRow != reported_.CurrentRow ||
                       now.CurrentColumn != reported_.CurrentColumn ||
                       now.RecordNumber != reported_.RecordNumber;
    const bool focusChanged = now.Focused != reported_.Focused;
    if (!moved && !focusChanged && now.Description == reported_.Description) {
        return;
    }
    if (moved) {
        if (QAccessibleInterface* left = CachedCell(reported_.CurrentRow, reported_.CurrentColumn)) {
            SendStateChange(left);
        }
    }
    QAccessibleInterface* reached = Cell(now.CurrentRow, now.CurrentColumn);
    if (reached == nullptr) {
        return;
    }
    if (moved || focusChanged) {
        SendStateChange(reached);
    }
    if (now.Description != reported_.Description) {
        QAccessibleEvent event(reached, QAccessible::DescriptionChanged);
        Send(&event);
    }
    if (now.Focused && (moved || focusChanged)) {
        QAccessibleEvent event(reached, QAccessible::Focus);
        Send(&event);
    }
}

void TAccessibleGrid::SendStateChange(QAccessibleInterface* cell) const {
    QAccessible::State changed;
    changed.selected = true;
    changed.focused = true;
    QAccessibleStateChangeEvent event(cell, changed);
    Send(&event);
}

}  // namespace contado
