#include <gtest/gtest.h>

#include "grid/gridkeymap.h"

namespace contado {
namespace {

using A = TGridKeyAction;
using R = TEditorKeyRoute;

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

const TGridKeyContext kWindowGrid{true, false, false};

A Grid(int key, Qt::KeyboardModifiers modifiers = kNone, const QString& text = {},
       const TGridKeyContext& context = kWindowGrid) {
    return GridKeyAction(key, modifiers, text, context);
}

R Editor(int key, Qt::KeyboardModifiers modifiers = kNone, const QString& text = {}, bool dateCell = false) {
    TGridKeyContext context = kWindowGrid;
    context.DateCell = dateCell;
    return EditorKeyRoute(key, modifiers, text, context);
}

TEST(GridKeyMap, MovesByRecordsAndColumnsShiftMakingNoDifference) {
    for (Qt::KeyboardModifiers shift : {kNone, kShift}) {
        EXPECT_EQ(Grid(Qt::Key_Up, shift), A::Up);
        EXPECT_EQ(Grid(Qt::Key_Down, shift), A::Down);
        EXPECT_EQ(Grid(Qt::Key_PageUp, shift), A::PageUp);
        EXPECT_EQ(Grid(Qt::Key_PageDown, shift), A::PageDown);
        EXPECT_EQ(Grid(Qt::Key_Home, shift), A::FirstColumn);
        EXPECT_EQ(Grid(Qt::Key_End, shift), A::LastColumn);
        EXPECT_EQ(Grid(Qt::Key_Left, shift), A::PriorColumn);
        EXPECT_EQ(Grid(Qt::Key_Right, shift), A::NextColumn);
    }
    EXPECT_EQ(Grid(Qt::Key_Up, kCtrl), A::TopRow);
    EXPECT_EQ(Grid(Qt::Key_PageUp, kCtrl), A::TopRow);
    EXPECT_EQ(Grid(Qt::Key_Down, kCtrl), A::BottomRow);
    EXPECT_EQ(Grid(Qt::Key_PageDown, kCtrl), A::BottomRow);
    EXPECT_EQ(Grid(Qt::Key_Home, kCtrl), A::FirstRecord);
    EXPECT_EQ(Grid(Qt::Key_End, kCtrl), A::LastRecord);
    EXPECT_EQ(Grid(Qt::Key_Left, kCtrl), A::FirstColumn);
    EXPECT_EQ(Grid(Qt::Key_Right, kCtrl), A::LastColumn);
    // With a single data column Home and End move by records.
    const TGridKeyContext single{true, true, false};
    EXPECT_EQ(Grid(Qt::Key_Home, kNone, {}, single), A::FirstRecord);
    EXPECT_EQ(Grid(Qt::Key_End, kNone, {}, single), A::LastRecord);
    // The keypad flag changes nothing.
    EXPECT_EQ(Grid(Qt::Key_Down, Qt::KeypadModifier), A::Down);
}

TEST(GridKeyMap, TabAndEnterAsTabStayInTheGridCtrlTabDoesNothing) {
    EXPECT_EQ(Grid(Qt::Key_Tab), A::NextCell);
    EXPECT_EQ(Grid(Qt::Key_Backtab, kShift), A::PriorCell);
    EXPECT_EQ(Grid(Qt::Key_Tab, kShift), A::PriorCell);
    EXPECT_EQ(Grid(Qt::Key_Return), A::NextCell);
    EXPECT_EQ(Grid(Qt::Key_Enter, Qt::KeypadModifier), A::NextCell);
    EXPECT_EQ(Grid(Qt::Key_Return, kShift), A::PriorCell);
    EXPECT_EQ(Grid(Qt::Key_Tab, kCtrl), A::None);
    EXPECT_EQ(Grid(Qt::Key_Tab, kAlt), A::None);
    // Without Enter-as-Tab, Enter does nothing.
    EXPECT_EQ(Grid(Qt::Key_Return, kNone, {}, TGridKeyContext{}), A::None);
}

TEST(GridKeyMap, RecordAndSearchCommands) {
    EXPECT_EQ(Grid(Qt::Key_Escape), A::Reset);
    EXPECT_EQ(Grid(Qt::Key_F2), A::ShowEditor);
    EXPECT_EQ(Grid(Qt::Key_Insert), A::InsertRecord);
    EXPECT_EQ(Grid(Qt::Key_Delete, kCtrl), A::DeleteRecord);
    EXPECT_EQ(Grid(Qt::Key_F, kCtrl), A::IncrementalSearch);
    EXPECT_EQ(Grid(Qt::Key_Return, kCtrl), A::SearchNext);
    EXPECT_EQ(Grid(Qt::Key_Return, kCtrl | kShift), A::SearchPrior);
    EXPECT_EQ(Grid(Qt::Key_Apostrophe, kCtrl), A::CopyFromAbove);
    EXPECT_EQ(Grid(Qt::Key_V, kCtrl), A::PasteToSearch);
    EXPECT_EQ(Grid(Qt::Key_Insert, kShift), A::PasteToSearch);
    // The clipboard and deleting keys do nothing on cells.
    EXPECT_EQ(Grid(Qt::Key_Delete, kNone, "\x7f"), A::None);
    EXPECT_EQ(Grid(Qt::Key_Delete, kShift), A::None);
    EXPECT_EQ(Grid(Qt::Key_Insert, kCtrl), A::None);
    EXPECT_EQ(Grid(Qt::Key_C, kCtrl, "\x03"), A::None);
    EXPECT_EQ(Grid(Qt::Key_X, kCtrl, "\x18"), A::None);
    EXPECT_EQ(Grid(Qt::Key_A, kCtrl, "\x01"), A::None);
}

TEST(GridKeyMap, PrintableCharactersAndBackspaceType) {
    EXPECT_EQ(Grid(Qt::Key_5, kNone, "5"), A::Type);
    EXPECT_EQ(Grid(Qt::Key_Ntilde, kShift, QStringLiteral("Ñ")), A::Type);
    EXPECT_EQ(Grid(Qt::Key_Backspace, kNone, "\b"), A::Type);
    EXPECT_EQ(Grid(Qt::Key_Space, kNone, " "), A::Type);
    // AltGr arrives as Ctrl+Alt on some keyboards and still types.
    EXPECT_EQ(Grid(Qt::Key_At, kCtrl | kAlt, "@"), A::Type);
    EXPECT_EQ(Grid(Qt::Key_A, kAlt, "a"), A::None);
    EXPECT_EQ(Grid(Qt::Key_F5), A::None);
}

TEST(GridKeyMap, TheEditorPassesOnRecordKeysAndKeepsCaretKeys) {
    for (int key : {Qt::Key_Tab, Qt::Key_Escape, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_Down,
                    Qt::Key_Return, Qt::Key_Insert}) {
        EXPECT_EQ(Editor(key), R::Grid) << key;
    }
    EXPECT_EQ(Editor(Qt::Key_Backtab, kShift), R::Grid);
    EXPECT_EQ(Editor(Qt::Key_Return, kShift), R::Grid);
    EXPECT_EQ(Editor(Qt::Key_Delete, kCtrl), R::Grid);
    EXPECT_EQ(Editor(Qt::Key_F, kCtrl), R::Grid);
    EXPECT_EQ(Editor(Qt::Key_Apostrophe, kCtrl), R::Grid);
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}) {
        EXPECT_EQ(Editor(key), R::Editor) << key;
        EXPECT_EQ(Editor(key, kShift), R::Editor) << key;
        EXPECT_EQ(Editor(key, kCtrl), R::Editor) << key;
    }
    EXPECT_EQ(Editor(Qt::Key_Tab, kAlt), R::Editor);
    EXPECT_EQ(Editor(Qt::Key_C, kCtrl), R::Editor);
    EXPECT_EQ(Editor(Qt::Key_Insert, kCtrl), R::Editor);
}

TEST(GridKeyMap, TheEditorChecksEveryChangeOfItsText) {
    EXPECT_EQ(Editor(Qt::Key_Delete), R::ChangeText);
    EXPECT_EQ(Editor(Qt::Key_Delete, kShift), R::ChangeText);
    EXPECT_EQ(Editor(Qt::Key_Insert, kShift), R::ChangeText);
    EXPECT_EQ(Editor(Qt::Key_V, kCtrl), R::ChangeText);
    EXPECT_EQ(Editor(Qt::Key_X, kCtrl), R::ChangeText);
    EXPECT_EQ(Editor(Qt::Key_A, kCtrl), R::SelectAll);
    EXPECT_EQ(Editor(Qt::Key_F2), R::CaretToEnd);
    EXPECT_EQ(Editor(Qt::Key_E, kNone, QStringLiteral("é")), R::Type);
    EXPECT_EQ(Editor(Qt::Key_Backspace, kNone, "\b"), R::Type);
}

TEST(GridKeyMap, OnlyDateCellsDropDownTheCalendar) {
    EXPECT_EQ(Editor(Qt::Key_Down, kAlt, {}, true), R::DropDown);
    EXPECT_EQ(Editor(Qt::Key_Up, kAlt, {}, true), R::DropDown);
    EXPECT_EQ(Editor(Qt::Key_Return, kCtrl, {}, true), R::DropDown);
    EXPECT_EQ(Editor(Qt::Key_Down, kAlt), R::Editor);
    EXPECT_EQ(Editor(Qt::Key_Return, kCtrl), R::Editor);
    // Plain Down still leaves a date cell's editor for the next record.
    EXPECT_EQ(Editor(Qt::Key_Down, kNone, {}, true), R::Grid);
}

}  // namespace
}  // namespace contado
