#pragma once

#include <QApplication>
#include <QtTest/QTest>

#include "grid/dbgridinplaceedit.h"
#include "platform/services/beep.h"
#include "tests/grid/gridfixture.h"
#include "tests/support/messageboxrecorder.h"

namespace contado {

// The planned-adjustment grid focused over n rows (identifiers 1 to n, 01/01/2024 to 31/12/2024,
// rate = identifier, factor 0,8), boxes answered and recorded, beeps counted. Keys go to whatever
// has the focus, as the keyboard sends them.
class GridEditTest : public GridTest {
  protected:
    GridEditTest() {
        SetBeepHook([this] { ++beeps_; });
    }
    ~GridEditTest() override { SetBeepHook({}); }

    void Open(int rows) {
        if (rows > 0) {
            FillPlanned(rows);
        }
        ConfigurePlannedColumns();
        OpenTable();
        ShowFocused();
    }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    TDBGridInplaceEdit* Editor() const { return grid_->InplaceEdit(); }
    bool EditorShown() const { return Editor() != nullptr && Editor()->isVisible(); }
    TField& Field(const char* name) const { return CAjusteAu->FieldByName(name); }
    std::string Text(const char* name) const { return Field(name).Text(); }
    // The centre of a data cell in the grid's client area.
    QPoint CellCentre(int column, int row) const { return grid_->Geometry().CellRect(column, row).center(); }
    void Click(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid_->Viewport(), button, Qt::NoModifier, point);
    }

    TMessageBoxRecorder boxes_;
    int beeps_ = 0;
};

}  // namespace contado
