#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <memory>

#include "controls/classicstyle.h"
#include "controls/datetimepicker.h"
#include "core/formatsettings.h"

static void PrintTo(const QDate& date, std::ostream* out) {
    *out << date.toString(Qt::ISODate).toStdString();
}

// The date pickers of the main window, driven by the mouse and the keyboard as a clerk does.

namespace contado {
namespace {

class DatePicker : public testing::Test {
  protected:
    // A window with a field before the picker, which stands where "Desde:" does and shows a day (9
    // December 2026) at 06:43:12, in a regional short date format.
    void Open(const char* shortDateFormat = "dd/mm/yyyy", QDate shown = QDate(2026, 12, 9)) {
        FormatSettings().ShortDateFormat = shortDateFormat;
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 60);
        before_ = new QLineEdit(window_.get());
        before_->setGeometry(0, 0, 40, 21);
        picker_ = new TDateTimePicker(window_.get());
        picker_->setGeometry(45, 16, 89, 21);
        picker_->SetDateTime(EncodeDate(shown.year(), shown.month(), shown.day()) + 0.28);
        after_ = new QLineEdit(window_.get());
        after_->setGeometry(140, 16, 40, 21);
        TClassicStyle::ApplyTo(window_.get());
        window_->show();
        QApplication::setActiveWindow(window_.get());
        before_->setFocus();
    }
    void TearDown() override {
        window_.reset();
        FormatSettings() = saved_;
    }
    // Comes into the picker with Tab from the field before it, or with Shift+Tab from the one after,
    // and types there.
    void TabInAndType(const char* keys, bool back = false) {
        QLineEdit* from = back ? after_ : before_;
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        ASSERT_EQ(QApplication::focusWidget(), picker_);
        QTest::keyClicks(picker_, QString::fromUtf8(keys));
    }
    // The click reaches the control under the point, the text or the picker's own frame and button.
    void Click(QPoint point, Qt::MouseButton button = Qt::LeftButton, bool twice = false) {
        QWidget* target = picker_->childAt(point) != nullptr ? picker_->childAt(point) : picker_;
        const QPoint at = target->mapFrom(picker_, point);
        twice ? QTest::mouseDClick(target, button, Qt::NoModifier, at)
              : QTest::mouseClick(target, button, Qt::NoModifier, at);
    }
    // The middle of the points of the text that put the caret at a position, in the picker.
    QPoint CaretPlace(int position) const {
        auto* edit = picker_->findChild<QLineEdit*>();
        int first = -1, last = -1;
        for (int x = 0; x < edit->width(); ++x) {
            if (edit->cursorPositionAt({x, edit->height() / 2}) == position) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return edit->mapTo(picker_, QPoint((first + last) / 2, edit->height() / 2));
    }
    bool CalendarShown() const { return picker_->calendarWidget()->isVisible(); }

    TFormatSettings saved_ = FormatSettings();
    std::unique_ptr<QWidget> window_;
    QLineEdit* before_ = nullptr;
    TDateTimePicker* picker_ = nullptr;
    QLineEdit* after_ = nullptr;
};

TEST_F(DatePicker, NoClickChangesTheDateAndOnlyTheButtonOpensTheCalendar) {
    Open();
    const int right = picker_->width() - 1, bottom = picker_->height() - 1;
    const QPoint points[] = {{30, 0},  {30, 1},  {30, bottom}, {30, bottom - 1},
                             {0, 10},  {1, 10},  {0, 0},       {0, bottom},
                             {5, 10},  {40, 10}, CaretPlace(4)};
    for (const QPoint point : points) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            Click(point, button);
            Click(point, button, true);
        }
        EXPECT_EQ(picker_->date(), QDate(2026, 12, 9)) << "clicked at " << point.x() << "," << point.y();
        EXPECT_FALSE(CalendarShown()) << point.x() << "," << point.y();
    }
    Click({right - 6, 10});
    EXPECT_TRUE(CalendarShown()) << "the drop-down button opens it";
    picker_->calendarWidget()->window()->hide();
    EXPECT_EQ(picker_->date(), QDate(2026, 12, 9));
}

TEST_F(DatePicker, AClickOnTheFrameOrTheTextPicksThePartBesideIt) {
    Open();
    auto* edit = picker_->findChild<QLineEdit*>();
    Click({CaretPlace(4).x(), 0});
    EXPECT_EQ(QApplication::focusWidget(), picker_);
    EXPECT_EQ(picker_->currentSection(), QDateTimeEdit::MonthSection) << "above the 2 of 09/12/2026";
    EXPECT_EQ(edit->selectedText(), "12");
    Click({0, 10});
    EXPECT_EQ(picker_->currentSection(), QDateTimeEdit::DaySection);
    EXPECT_EQ(edit->selectedText(), "09");
    Click(CaretPlace(8));
    EXPECT_EQ(edit->selectedText(), "2026");
}

// The wheel never changes a date, focused or not, and does not take the focus either.
TEST_F(DatePicker, TheWheelLeavesTheDateAndTheFocusAlone) {
    Open();
    const QPoint centre = picker_->rect().center();
    const auto turn = [&] {
        QWheelEvent wheel(centre, picker_->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(picker_, &wheel);
    };
    turn();
    EXPECT_EQ(picker_->date(), QDate(2026, 12, 9));
    EXPECT_EQ(QApplication::focusWidget(), before_);
    picker_->setFocus();
    turn();
    EXPECT_EQ(picker_->date(), QDate(2026, 12, 9)) << "focused";
}

struct Typed {
    const char* format;
    const char* keys;
    QDate expected;
};

// As a keyboard where the separator needs Shift (the Spanish "/" is Shift+7) sends it: the Shift
// goes down, as a key of its own, before the separator.
void TypeShiftingForSeparators(QWidget* picker, const char* keys) {
    for (const QChar c : QString::fromUtf8(keys)) {
        if (c.isDigit()) {
            QTest::keyClick(picker, c.toLatin1());
            continue;
        }
        QTest::keyPress(picker, Qt::Key_Shift);
        QTest::sendKeyEvent(QTest::Click, picker, Qt::Key_Slash, QString(c), Qt::ShiftModifier);
        QTest::keyRelease(picker, Qt::Key_Shift, Qt::ShiftModifier);
    }
}

// Typed after Tab, Shift+Tab or a click on the first part (and, after a click, with the separators
// shifted), into a picker showing 28 February 2026, a
// month too short for some of the days typed. A second separator skips a part; one after the year
// does nothing.
TEST_F(DatePicker, ADateTypedWithOrWithoutSeparatorsGivesThatDate) {
    const Typed cases[] = {
        {"dd/mm/yyyy", "01122026", {2026, 12, 1}},   {"dd/mm/yyyy", "01/12/2026", {2026, 12, 1}},
        {"dd/mm/yyyy", "1/12/2026", {2026, 12, 1}},  {"dd/mm/yyyy", "5/3/2025", {2025, 3, 5}},
        {"dd/mm/yyyy", "31/01/2027", {2027, 1, 31}}, {"dd/mm/yyyy", "30062026", {2026, 6, 30}},
        {"dd/mm/yyyy", "29/2/2028", {2028, 2, 29}},  {"mm/dd/yyyy", "12012026", {2026, 12, 1}},
        {"mm/dd/yyyy", "12/01/2026", {2026, 12, 1}}, {"mm/dd/yyyy", "12/1/2026", {2026, 12, 1}},
        {"mm/dd/yyyy", "3/05/2025", {2025, 3, 5}},   {"mm/dd/yyyy", "02/29/2028", {2028, 2, 29}},
        {"dd.mm.yyyy", "1.12.2026", {2026, 12, 1}},  {"yyyy-mm-dd", "2026-12-01", {2026, 12, 1}},
        {"yyyy-mm-dd", "20261201", {2026, 12, 1}},   {"dd/mm/yyyy", "01//2026", {2026, 2, 1}},
        {"dd/mm/yyyy", "15/06/2026/", {2026, 6, 15}},
    };
    for (const Typed& typed : cases) {
        for (const int way : {0, 1, 2, 3}) {
            Open(typed.format, QDate(2026, 2, 28));
            if (way == 3) {
                Click(CaretPlace(0));
                TypeShiftingForSeparators(picker_, typed.keys);
            } else if (way == 2) {
                Click(CaretPlace(0));
                QTest::keyClicks(picker_, QString::fromUtf8(typed.keys));
            } else {
                TabInAndType(typed.keys, way == 1);
            }
            EXPECT_EQ(picker_->date(), typed.expected) << typed.format << " " << typed.keys << " way " << way;
            EXPECT_EQ(QApplication::focusWidget(), picker_) << typed.keys << " stays in the picker";
            EXPECT_NEAR(picker_->DateTime() - DateOf(picker_->DateTime()), 0.28, 1e-9) << "time of day kept";
        }
    }
}

}  // namespace
}  // namespace contado
