#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest/QTest>
#include <functional>
#include <vector>

#include "controls/accessibilityfactory.h"
#include "controls/datetimepicker.h"
#include "controls/dbgridexfinddlg.h"
#include "controls/dbnavigator.h"
#include "controls/groupbox.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "data/client/clientdataset.h"
#include "grid/accessiblegrid.h"
#include "grid/dbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/popupmonthcalendarex.h"
#include "tests/app/companywindowfixture.h"

// Texts read in the failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace contado {
namespace {

// The real window as assistive technology reads it through Qt's accessibility interfaces, with the
// program's factory installed; the events sent are recorded instead of reaching a bridge.
class Accessibility : public CompanyWindowTest {
  protected:
    struct TEvent {
        QAccessible::Event Type;
        QAccessible::Role Role;
        int Row;
        int Column;
    };

    void SetUp() override {
        CompanyWindowTest::SetUp();
        TAccessibilityFactory::Install();
    }
    void TearDown() override {
        StopRecording();
        CompanyWindowTest::TearDown();
    }

    static QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
    static QString Name(QObject* object) { return Of(object)->text(QAccessible::Name); }

    // The grids' events from now on; the offscreen platform has no reader for Qt to send them to.
    void Record() {
        recorded_ = this;
        TAccessibleGrid::SetEventSink([](QAccessibleEvent* event) {
            QAccessibleInterface* iface = event->accessibleInterface();
            QAccessibleTableCellInterface* cell = iface != nullptr ? iface->tableCellInterface() : nullptr;
            recorded_->events_.push_back(
                {event->type(), iface != nullptr ? iface->role() : QAccessible::NoRole,
                 cell != nullptr ? cell->rowIndex() : -1, cell != nullptr ? cell->columnIndex() : -1});
        });
    }
    static void StopRecording() { TAccessibleGrid::SetEventSink(nullptr); }
    // A decimal as the grid shows it, with either separator.
    static double Number(QString text) { return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }
    // The cells that took the focus, as (row, column), since the last call.
    std::vector<std::pair<int, int>> FocusedCells() {
        QCoreApplication::processEvents();
        std::vector<std::pair<int, int>> cells;
        for (const TEvent& event : events_) {
            if (event.Type == QAccessible::Focus && event.Role == QAccessible::Cell) {
                cells.emplace_back(event.Row, event.Column);
            }
        }
        events_.clear();
        return cells;
    }
    int Count(QAccessible::Event type) const {
        return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                              [type](const TEvent& event) { return event.Type == type; }));
    }

    // Connected, the F5 editor open with its grid focused on the last rate.
    QAccessibleTableInterface* OpenTarifas() {
        OpenConnected();
        Press(Qt::Key_F5);
        QCoreApplication::processEvents();
        return Of(window_->DBGridEx2)->tableInterface();
    }

    std::vector<TEvent> events_;
    static Accessibility* recorded_;
};

Accessibility* Accessibility::recorded_ = nullptr;

TEST_F(Accessibility, TheWindowIsANamedFrameWhoseFieldsAreNamedByTheirLabels) {
    Open();
    EXPECT_EQ(Of(window_)->role(), QAccessible::Window);
    EXPECT_EQ(Name(window_), "Contabilizar ventas de contado");
    const std::pair<QWidget*, const char*> fields[] = {
        {window_->Servidor, "Servidor :"}, {window_->Tusua, "Usuario :"}, {window_->TClave, "Clave :"},
        {window_->Cia, "Compañía:"},       {window_->EFecIni, "Desde:"},  {window_->EFecFin, "Hasta:"}};
    // Each field is labelled by its label; those whose name is not their text are named by it too.
    for (const auto& [field, label] : fields) {
        const auto labels = Of(field)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << label;
        EXPECT_EQ(labels.first().first->text(QAccessible::Name).trimmed(), QString::fromUtf8(label));
        if (field != window_->Servidor) {
            EXPECT_EQ(Name(field).trimmed(), QString::fromUtf8(label));
        }
    }
    EXPECT_EQ(Name(window_->ckniif), "Contabilizar NIIF");
    for (auto [button, caption] : {std::pair{window_->SpeedButton3, "F2: Ejecutar"},
                                   std::pair{window_->SpeedButton2, "Esc: Cancelar"}}) {
        EXPECT_EQ(Of(button)->role(), QAccessible::Button);
        EXPECT_EQ(Name(button), caption);
        EXPECT_EQ(Of(button)->actionInterface()->actionNames(),
                  QStringList{QAccessibleActionInterface::pressAction()});
    }
    EXPECT_TRUE(Of(window_->SpeedButton3)->state().disabled) << "nothing to post before connecting";
    EXPECT_EQ(Of(window_->GroupBox1)->role(), QAccessible::Grouping);
    EXPECT_EQ(Name(window_->GroupBox1), "Origen:");
    EXPECT_EQ(Name(window_->GroupBox2), "Parámetros");
    EXPECT_EQ(Of(window_->Panel5)->role(), QAccessible::Pane);
    EXPECT_EQ(Name(window_->Panel5), "Generando informe. espere un momento...");
    EXPECT_TRUE(Of(window_->Panel5)->state().invisible);
}

TEST_F(Accessibility, TheF5GridIsATableOfTheShownRecordsWithTitledColumnsAndTheCurrentCellFocused) {
    QAccessibleTableInterface* table = OpenTarifas();
    QAccessibleInterface* grid = Of(window_->DBGridEx2);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->text(QAccessible::Name), "Tarifas") << "the caption of its pane";
    EXPECT_EQ(Of(window_->CaptionPanel1)->role(), QAccessible::Pane);
    EXPECT_EQ(Name(window_->CaptionPanel1), "Tarifas");

    const int rates = window_->CAjuste->RecordCount();
    ASSERT_GE(rates, 2);
    EXPECT_EQ(table->rowCount(), rates);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(grid->childCount(), 5 * (rates + 1)) << "a header row and the cells";
    const QStringList titles = {"F.Desde", "F.Hasta", "Porc", "Factor", "Pref.N/A"};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(table->columnDescription(column), titles[column]);
        QAccessibleInterface* header = grid->child(column);
        EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(header->text(QAccessible::Name), titles[column]);
        EXPECT_EQ(table->cellAt(0, column)->tableCellInterface()->columnHeaderCells(), QList{header});
    }
    // Every cell says the text painted there; the last record is current, in its first column.
    for (int row = 0; row < rates; ++row) {
        for (int column = 0; column < 5; ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            EXPECT_EQ(cell->text(QAccessible::Name), window_->DBGridEx2->ShownCellText(column, row));
            EXPECT_EQ(grid->indexOfChild(cell), 5 * (row + 1) + column);
            EXPECT_EQ(cell->parent(), grid);
        }
    }
    EXPECT_EQ(Number(table->cellAt(0, 3)->text(QAccessible::Name)), 0.8);
    QAccessibleInterface* current = table->cellAt(rates - 1, 0);
    EXPECT_TRUE(current->state().selected);
    EXPECT_TRUE(current->state().focused);
    EXPECT_TRUE(current->state().editable);
    EXPECT_FALSE(table->cellAt(0, 0)->state().selected);
    EXPECT_EQ(table->selectedCells(), QList{current});
    EXPECT_EQ(grid->focusChild(), current);
    EXPECT_EQ(grid->childAt(current->rect().center().x(), current->rect().center().y()), current);
}

TEST_F(Accessibility, DownTabAndAValueTypedMoveTheFocusedCellAndRenameIt) {
    QAccessibleTableInterface* table = OpenTarifas();
    Record();
    Press(Qt::Key_Up);
    const int rates = window_->CAjuste->RecordCount();
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{rates - 2, 0}}));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{rates - 2, 3}}))
        << "told once, where it ends";
    EXPECT_TRUE(table->cellAt(rates - 2, 3)->state().focused);
    EXPECT_FALSE(table->cellAt(rates - 2, 0)->state().selected);
    Press(Qt::Key_Down);
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{rates - 1, 3}}));

    // Typing shows the editor on the cell, as its child, with the focus; the value stored renames it.
    QTest::keyClicks(window_->DBGridEx2, "1,5");
    QAccessibleInterface* cell = table->cellAt(rates - 1, 3);
    ASSERT_EQ(cell->childCount(), 1);
    QAccessibleInterface* editor = cell->child(0);
    EXPECT_EQ(editor->object(), window_->DBGridEx2->InplaceEdit());
    EXPECT_EQ(editor->role(), QAccessible::EditableText);
    EXPECT_EQ(Number(editor->textInterface()->text(0, 3)), 1.5);
    EXPECT_EQ(Of(window_->DBGridEx2)->focusChild(), editor);
    EXPECT_EQ(cell->text(QAccessible::Description), "Editando");
    FocusedCells();
    Press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Number(cell->text(QAccessible::Name)), 1.5);
    EXPECT_GE(Count(QAccessible::NameChanged), 1);
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{rates - 1, 4}}))
        << "Enter goes on to Pref.N/A";
}

// A new row changes the table's size, which the table reports; a reader's click on a cell (its
// focus action) makes it current as the mouse does.
TEST_F(Accessibility, ARowAppendedResizesTheTableAndACellsFocusActionMakesItCurrent) {
    Record();
    QAccessibleTableInterface* table = OpenTarifas();
    const int rates = table->rowCount();
    FocusedCells();
    Press(Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(table->rowCount(), rates + 1);
    EXPECT_EQ(Count(QAccessible::TableModelChanged), 1);
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{rates, 0}}));
    EXPECT_EQ(table->cellAt(rates, 0)->text(QAccessible::Description), "Insertando");

    QAccessibleInterface* cell = table->cellAt(0, 2);
    ASSERT_EQ(cell->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::setFocusAction()});
    cell->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(window_->CAjuste->RecNo(), 1);
    EXPECT_EQ(window_->DBGridEx2->CurrentColumn(), 2);
    EXPECT_EQ(table->rowCount(), rates) << "the untouched row is dropped";
    EXPECT_EQ(FocusedCells(), (std::vector<std::pair<int, int>>{{0, 2}}));
    EXPECT_TRUE(table->cellAt(0, 2)->state().focused);
}

TEST_F(Accessibility, TheNavigatorButtonsAreNamedByTheirHintsAndPressedByTheirAction) {
    OpenTarifas();
    const char* hints[] = {"First record",  "Prior record", "Next record", "Last record", "Insert record",
                           "Delete record", "Edit record",  "Post edit",   "Cancel edit", "Refresh data"};
    for (int index = 0; index < kNavigateBtnCount; ++index) {
        TNavButton* button = window_->DBNavigator1->Buttons(static_cast<TNavigateBtn>(index));
        EXPECT_EQ(Of(button)->role(), QAccessible::Button);
        EXPECT_EQ(Name(button), hints[index]);
        EXPECT_EQ(Of(button)->state().disabled, !button->isEnabled()) << hints[index];
    }
    QAccessibleInterface* next = Of(window_->DBNavigator1->Buttons(nbNext));
    EXPECT_TRUE(next->state().disabled) << "on the last record";
    QAccessibleInterface* first = Of(window_->DBNavigator1->Buttons(nbFirst));
    first->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    for (int waited = 0; waited < 2000 && window_->CAjuste->RecNo() != 1; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_EQ(window_->CAjuste->RecNo(), 1);
    EXPECT_FALSE(next->state().disabled);
}

TEST_F(Accessibility, TheDateCellsCalendarIsNamed) {
    OpenTarifas();
    QTest::keyClicks(QApplication::focusWidget(), "1");
    Press(Qt::Key_Down, Qt::AltModifier);
    TDBGridInplaceEdit* editor = window_->DBGridEx2->InplaceEdit();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->DroppedDown());
    EXPECT_EQ(Name(editor->Calendar()), "Calendario");
}

TEST_F(Accessibility, TheFindDialogsLabelsAreTheLabelsOfTheirBoxes) {
    TDBGridExFindDlg& dialog = TDBGridExFindDlg::Instance();
    const std::pair<QLabel*, QComboBox*> pairs[] = {{dialog.Label1, dialog.cbText},
                                                    {dialog.Label2, dialog.cbFindIn},
                                                    {dialog.cbMatchType, dialog.cbMatchinType},
                                                    {dialog.Label3, dialog.cbFindDirection}};
    const char* names[] = {"Find What:", "Find in:", "Match:", "Search:"};
    for (std::size_t index = 0; index < std::size(pairs); ++index) {
        EXPECT_EQ(pairs[index].first->buddy(), pairs[index].second);
        const auto labels = Of(pairs[index].second)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << names[index];
        EXPECT_EQ(labels.first().first->text(QAccessible::Name), names[index]);
    }
}

}  // namespace
}  // namespace contado
