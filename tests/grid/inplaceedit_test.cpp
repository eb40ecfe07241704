#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/inplaceedit.h"
#include "grid/inplaceeditowner.h"
#include "platform/services/beep.h"
#include "platform/system/clipboard.h"

// The in-place editor on its own, with an owner that gives it the rules of one cell: every change
// of its text checked, refused characters beeping, the rest handed to the grid.

namespace contado {
namespace {

class CellOwner : public TInplaceEditOwner {
  public:
    bool decimal = false;
    int maxLength = 0;
    bool mayModify = true;
    int modifyRequests = 0;
    QString lastText;
    std::vector<int> gridKeys;
    int dropDowns = 0;
    bool dateCell = false;

    bool AcceptsCharacter(char32_t c) const override {
        return !decimal || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == ',';
    }
    QChar CellDecimalSeparator() const override { return decimal ? QChar(',') : QChar(); }
    int CellMaxLength() const override { return maxLength; }
    bool CanEditModify() override {
        ++modifyRequests;
        return mayModify;
    }
    TGridKeyContext EditorKeyContext() const override { return TGridKeyContext{true, false, dateCell}; }
    void EditorTextChanged(const QString& text) override { lastText = text; }
    void EditorKeyForGrid(QKeyEvent* event) override { gridKeys.push_back(event->key()); }
    void EditorDropDown() override { ++dropDowns; }
};

class InplaceEditTest : public testing::Test {
  protected:
    InplaceEditTest() {
        SetBeepHook([this] { ++beeps_; });
        window_.resize(200, 40);
        window_.show();
        edit_.setGeometry(0, 0, 120, 16);
        edit_.show();
        edit_.setFocus();
    }
    ~InplaceEditTest() override { SetBeepHook({}); }

    void Type(const QString& text) { QTest::keyClicks(&edit_, text); }

    CellOwner owner_;
    QWidget window_;
    TInplaceEdit edit_{&owner_, &window_};
    int beeps_ = 0;
};

TEST_F(InplaceEditTest, ALoadedCellIsSelectedWholeSoTheFirstCharacterReplacesIt) {
    edit_.Load(3, 1, "16");
    EXPECT_EQ(edit_.LoadedColumn(), 3);
    EXPECT_EQ(edit_.LoadedRow(), 1);
    EXPECT_EQ(owner_.modifyRequests, 0);
    owner_.decimal = true;
    Type("5");
    EXPECT_EQ(edit_.text(), "5");
    EXPECT_EQ(owner_.lastText, "5");
    EXPECT_EQ(owner_.modifyRequests, 1);
    edit_.Invalidate();
    EXPECT_EQ(edit_.LoadedColumn(), -1);
}

TEST_F(InplaceEditTest, DecimalCellsTakeDigitsAndTurnStopAndCommaIntoTheSeparator) {
    owner_.decimal = true;
    edit_.Load(3, 0, "");
    Type("1.5");
    EXPECT_EQ(edit_.text(), "1,5");
    Type(",2");
    EXPECT_EQ(edit_.text(), "1,5,2");
    Type("x");
    EXPECT_EQ(edit_.text(), "1,5,2");
    EXPECT_EQ(beeps_, 1);
}

TEST_F(InplaceEditTest, TextCellsStopAtTheirSizeInCharacters) {
    owner_.maxLength = 4;
    edit_.Load(5, 0, "");
    Type(QStringLiteral("ÑÑAÉX"));
    EXPECT_EQ(edit_.text(), QStringLiteral("ÑÑAÉ"));
    EXPECT_EQ(beeps_, 0);
    // Over a selection, the selected characters make room.
    edit_.setSelection(0, 1);
    Type("Z");
    EXPECT_EQ(edit_.text(), QStringLiteral("ZÑAÉ"));
}

TEST_F(InplaceEditTest, NoChangeGetsThroughWhenTheCellMayNotChange) {
    owner_.mayModify = false;
    edit_.Load(5, 0, "FV");
    Type("A");
    QTest::keyClick(&edit_, Qt::Key_Backspace);
    QTest::keyClick(&edit_, Qt::Key_Delete);
    SetClipboardText("CA");
    QTest::keyClick(&edit_, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit_, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit_.text(), "FV");
    EXPECT_EQ(beeps_, 0);
}

TEST_F(InplaceEditTest, PastingDropsRefusedCharactersAndKeepsToTheSize) {
    owner_.decimal = true;
    edit_.Load(3, 0, "");
    SetClipboardText("1a2.5 b");
    QTest::keyClick(&edit_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit_.text(), "12,5");
    EXPECT_EQ(edit_.cursorPosition(), 4);
    owner_.decimal = false;
    owner_.maxLength = 4;
    edit_.Load(5, 0, "");
    SetClipboardText("ÑÑÑÑÑ");
    QTest::keyClick(&edit_, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit_.text(), QStringLiteral("ÑÑÑÑ"));
}

TEST_F(InplaceEditTest, RecordKeysGoToTheGridCaretKeysStay) {
    edit_.Load(5, 0, "ABC");
    QTest::keyClick(&edit_, Qt::Key_Tab);
    QTest::keyClick(&edit_, Qt::Key_Return);
    QTest::keyClick(&edit_, Qt::Key_Escape);
    QTest::keyClick(&edit_, Qt::Key_Down);
    EXPECT_EQ(owner_.gridKeys, (std::vector<int>{Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down}));
    QTest::keyClick(&edit_, Qt::Key_Home);
    EXPECT_EQ(edit_.cursorPosition(), 0);
    QTest::keyClick(&edit_, Qt::Key_F2);
    EXPECT_EQ(edit_.cursorPosition(), 3);
    EXPECT_FALSE(edit_.hasSelectedText());
    QTest::keyClick(&edit_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit_.selectedText(), "ABC");
    EXPECT_EQ(owner_.gridKeys.size(), 4u);
    QTest::keyClick(&edit_, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(owner_.dropDowns, 0);
    owner_.dateCell = true;
    QTest::keyClick(&edit_, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(owner_.dropDowns, 1);
}

TEST_F(InplaceEditTest, BackspaceRemovesOneCharacterNotOneByte) {
    edit_.Load(5, 0, QStringLiteral("AÑ"));
    edit_.end(false);
    QTest::keyClick(&edit_, Qt::Key_Backspace);
    EXPECT_EQ(edit_.text(), "A");
    EXPECT_EQ(owner_.lastText, "A");
}

}  // namespace
}  // namespace contado
