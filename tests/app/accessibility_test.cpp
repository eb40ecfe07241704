#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest/QTest>
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

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace contado {
namespace {

using Cells = std::vector<std::pair<int, int>>;

// The real window as assistive technology reads it through Qt's accessibility interfaces, with the
// program's factory installed. The grids' events are recorded: the offscreen platform has no reader
// for Qt to send them to.
class Accessibility : public CompanyWindowTest {
  protected:
    void SetUp() override {
        CompanyWindowTest::SetUp();
        TAccessibilityFactory::Install();
        recorder_ = this;
        TAccessibleGrid::SetEventSink([](QAccessibleEvent* event) {
            QAccessibleInterface* iface = event->accessibleInterface();
            QAccessibleTableCellInterface* cell = iface != nullptr ? iface->tableCellInterface() : nullptr;
            recorder_->events_.push_back({event->type(), cell != nullptr ? cell->rowIndex() : -1,
                                          cell != nullptr ? cell->columnIndex() : -1});
        });
    }
    void TearDown() override {
        TAccessibleGrid::SetEventSink(nullptr);
        CompanyWindowTest::TearDown();
    }

    static QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
    static QString Name(QObject* object) { return Of(object)->text(QAccessible::Name); }
    static double Number(QString text) { return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }

    // The cells that took the focus since the last call, and the count of the other events.
    Cells FocusedCells() {
        QCoreApplication::processEvents();
        Cells cells;
        for (const TEvent& event : events_) {
            if (event.Type == QAccessible::Focus && event.Row >= 0) {
                cells.emplace_back(event.Row, event.Column);
            }
        }
        events_.clear();
        return cells;
    }
    int Count(QAccessible::Event type) const {
        return std::count_if(events_.begin(), events_.end(),
                             [type](const TEvent& e) { return e.Type == type; });
    }

    // Connected, with the F5 editor open on the last rate.
    QAccessibleTableInterface* OpenTarifas() {
        OpenConnected();
        Press(Qt::Key_F5);
        FocusedCells();
        return Of(window_->DBGridEx2)->tableInterface();
    }

    struct TEvent {
        QAccessible::Event Type;
        int Row;
        int Column;
    };
    std::vector<TEvent> events_;
    static inline Accessibility* recorder_ = nullptr;
};

TEST_F(Accessibility, TheWindowIsANamedFrameWhoseFieldsAreLabelledAndWhosePaintedControlsAreNamed) {
    Open();
    EXPECT_EQ(Of(window_)->role(), QAccessible::Window);
    EXPECT_EQ(Name(window_), "Contabilizar ventas de contado");
    const std::pair<QWidget*, const char*> fields[] = {
        {window_->Servidor, "Servidor :"}, {window_->Tusua, "Usuario :"}, {window_->TClave, "Clave :"},
        {window_->Cia, "Compañía:"},       {window_->EFecIni, "Desde:"},  {window_->EFecFin, "Hasta:"}};
    // The combo box's name is its text on this platform; the label is its relation.
    for (const auto& [field, label] : fields) {
        const auto labels = Of(field)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << label;
        EXPECT_EQ(labels.first().first->text(QAccessible::Name).trimmed(), QString::fromUtf8(label));
        if (field != window_->Servidor) {
            EXPECT_EQ(Name(field).trimmed(), QString::fromUtf8(label));
        }
    }
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
    EXPECT_EQ(Of(window_->CaptionPanel1)->role(), QAccessible::Pane);
    EXPECT_EQ(Name(window_->CaptionPanel1), "Tarifas");
    EXPECT_EQ(Of(window_->DBNavigator1)->role(), QAccessible::ToolBar);
}

TEST_F(Accessibility, TheF5GridIsATableOfTheShownRecordsWhoseCellsReadWhatIsPainted) {
    QAccessibleTableInterface* table = OpenTarifas();
    ASSERT_NE(table, nullptr);
    QAccessibleInterface* grid = Of(window_->DBGridEx2);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->text(QAccessible::Name), "Tarifas") << "the caption of its pane";
    const int rates = window_->CAjuste->RecordCount();
    ASSERT_GE(rates, 2);
    EXPECT_EQ(table->rowCount(), rates);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(grid->childCount(), 5 * (rates + 1)) << "a header row and the cells";
    const QStringList titles = {"F.Desde", "F.Hasta", "Porc", "Factor", "Pref.N/A"};
    for (int column = 0; column < 5; ++column) {
        QAccessibleInterface* header = grid->child(column);
        EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(header->text(QAccessible::Name), titles[column]);
        EXPECT_EQ(table->cellAt(0, column)->tableCellInterface()->columnHeaderCells(), QList{header});
        for (int row = 0; row < rates; ++row) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            EXPECT_EQ(cell->text(QAccessible::Name), window_->DBGridEx2->ShownCellText(column, row));
            EXPECT_EQ(grid->indexOfChild(cell), 5 * (row + 1) + column);
        }
    }
    EXPECT_EQ(Number(table->cellAt(0, 3)->text(QAccessible::Name)), 0.8);
    // F5 stands on the last record's first cell.
    QAccessibleInterface* current = table->cellAt(rates - 1, 0);
    EXPECT_TRUE(current->state().selected && current->state().focused && current->state().editable);
    EXPECT_FALSE(table->cellAt(0, 0)->state().selected);
    EXPECT_EQ(table->selectedCells(), QList{current});
    EXPECT_EQ(grid->focusChild(), current);
    EXPECT_EQ(grid->childAt(current->rect().center().x(), current->rect().center().y()), current);

    // A date cell's calendar is named.
    QTest::keyClicks(QApplication::focusWidget(), "1");
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(window_->DBGridEx2->InplaceEdit()->DroppedDown());
    EXPECT_EQ(Name(window_->DBGridEx2->InplaceEdit()->Calendar()), "Calendario");
}

TEST_F(Accessibility, TheFocusedCellFollowsUpTabDownAndEnterAndAStoredValueRenamesItsCell) {
    QAccessibleTableInterface* table = OpenTarifas();
    const int last = table->rowCount() - 1;
    Press(Qt::Key_Up);
    EXPECT_EQ(FocusedCells(), (Cells{{last - 1, 0}}));
    for (int times = 0; times < 3; ++times) {
        Press(Qt::Key_Tab);
    }
    EXPECT_EQ(FocusedCells(), (Cells{{last - 1, 3}})) << "told once, where it ends";
    EXPECT_TRUE(table->cellAt(last - 1, 3)->state().focused);
    EXPECT_FALSE(table->cellAt(last - 1, 0)->state().selected);
    Press(Qt::Key_Down);
    EXPECT_EQ(FocusedCells(), (Cells{{last, 3}}));

    // The editor shown by typing is the cell's child and has the focus.
    QTest::keyClicks(window_->DBGridEx2, "1,5");
    QAccessibleInterface* cell = table->cellAt(last, 3);
    ASSERT_EQ(cell->childCount(), 1);
    QAccessibleInterface* editor = cell->child(0);
    EXPECT_EQ(editor->role(), QAccessible::EditableText);
    EXPECT_EQ(Number(editor->textInterface()->text(0, 3)), 1.5);
    EXPECT_EQ(Of(window_->DBGridEx2)->focusChild(), editor);
    EXPECT_EQ(cell->text(QAccessible::Description), "Editando");
    FocusedCells();
    Press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Number(cell->text(QAccessible::Name)), 1.5);
    EXPECT_GE(Count(QAccessible::NameChanged), 1);
    EXPECT_EQ(FocusedCells(), (Cells{{last, 4}})) << "Enter goes on to Pref.N/A";
}

// A new row changes the table's size, which it reports; a reader's focus action on a cell makes it
// current as a click does.
TEST_F(Accessibility, ARowAppendedResizesTheTableAndACellsFocusActionMakesItCurrent) {
    QAccessibleTableInterface* table = OpenTarifas();
    const int rates = table->rowCount();
    Press(Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(table->rowCount(), rates + 1);
    EXPECT_EQ(Count(QAccessible::TableModelChanged), 1);
    EXPECT_EQ(FocusedCells(), (Cells{{rates, 0}}));
    EXPECT_EQ(table->cellAt(rates, 0)->text(QAccessible::Description), "Insertando");
    table->cellAt(0, 2)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(window_->CAjuste->RecNo(), 1);
    EXPECT_EQ(table->rowCount(), rates) << "the untouched row is dropped";
    EXPECT_EQ(FocusedCells(), (Cells{{0, 2}}));
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
    Of(window_->DBNavigator1->Buttons(nbFirst))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    for (int waited = 0; waited < 2000 && window_->CAjuste->RecNo() != 1; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_EQ(window_->CAjuste->RecNo(), 1);
    EXPECT_FALSE(next->state().disabled);
}

TEST_F(Accessibility, TheFindDialogsLabelsAreTheLabelsOfTheirBoxes) {
    TDBGridExFindDlg& dialog = TDBGridExFindDlg::Instance();
    const std::tuple<QLabel*, QComboBox*, const char*> pairs[] = {
        {dialog.Label1, dialog.cbText, "Find What:"},
        {dialog.Label2, dialog.cbFindIn, "Find in:"},
        {dialog.cbMatchType, dialog.cbMatchinType, "Match:"},
        {dialog.Label3, dialog.cbFindDirection, "Search:"}};
    for (const auto& [label, box, name] : pairs) {
        EXPECT_EQ(label->buddy(), box);
        const auto labels = Of(box)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << name;
        EXPECT_EQ(labels.first().first->text(QAccessible::Name), name);
    }
}

}  // namespace
}  // namespace contado
