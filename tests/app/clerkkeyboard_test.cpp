#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>

#include "controls/datetimepicker.h"
#include "controls/speedbutton.h"
#include "tests/app/companywindowfixture.h"
#include "tests/app/mainwindowfixture.h"

namespace contado {
namespace {

using ClerkKeyboard = CompanyWindowTest;

TEST_F(ClerkKeyboard, AFailedConnectionKeepsTheFocusInTheCompanyFieldSoEnterRetries) {
    Open();
    window_->Tusua->setText("SYSDBA");
    window_->TClave->setText("masterkey");
    window_->Cia->setFocus();
    QTest::keyClicks(window_->Cia, "99");
    Press(Qt::Key_Return);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->Cia));

    window_->Cia->selectAll();
    QTest::keyClicks(window_->Cia, QString::fromStdString(company_.CompanyCode()));
    Press(Qt::Key_Return);
    EXPECT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_FALSE(window_->ckniif->isChecked());
    EXPECT_TRUE(window_->SpeedButton3->isEnabled()) << "connected";
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->EFecIni));
}

using DatePickerKeys = MainWindowTest;

TEST_F(DatePickerKeys, TabLeavesAPickerAndUpChangesThePartUnderTheCaret) {
    Open();
    const TDateTime start = window_->EFecIni->DateTime();
    window_->EFecIni->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->EFecFin));
    Press(Qt::Key_Up);
    EXPECT_EQ(window_->EFecIni->DateTime(), start) << "the first day stays";
    EXPECT_NE(window_->EFecFin->DateTime(), start) << "the last one moves";
    EXPECT_EQ(window_->EFecFin->currentSectionIndex(), 0);
    Press(Qt::Key_Right);
    EXPECT_EQ(window_->EFecFin->currentSectionIndex(), 1);
    const QDate before = window_->EFecFin->date();
    Press(Qt::Key_Up);
    EXPECT_EQ(window_->EFecFin->date(), window_->EFecFin->currentSection() == QDateTimeEdit::MonthSection
                                            ? before.addMonths(1)
                                            : before.addDays(1));
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    EXPECT_EQ(window_->EFecFin->currentSectionIndex(), 2) << "Right stops at the last part";
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    EXPECT_EQ(window_->EFecFin->currentSectionIndex(), 0) << "Left stops at the first";
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->EFecIni));
    Press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window_->EFecFin)) << "Enter leaves it too";
}

}  // namespace
}  // namespace contado
