#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "grid/pendingescape.h"

// Keys that came while a long operation ran act afterwards, in their order, where the focus then
// is, as the window system would have delivered them; an Esc among them is seen at once.

namespace contado {
namespace {

TEST(PendingEscape, HeldKeysGoToTheFocusOfTheirMomentAndAnEscIsSeen) {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    QApplication::setActiveWindow(&window);
    first->setFocus();
    {
        TPendingEscape watch(&window);
        for (const QChar c : QStringLiteral("ñé")) {
            QCoreApplication::postEvent(first, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(c)));
        }
        EXPECT_FALSE(watch.Pending());
        EXPECT_EQ(first->text(), "") << "nothing acts while the operation runs";
        QCoreApplication::postEvent(first, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_TRUE(watch.Pending());
        second->setFocus();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(first->text(), "");
    EXPECT_EQ(second->text(), QStringLiteral("ñé")) << "given back where the focus is";
}

}  // namespace
}  // namespace contado
