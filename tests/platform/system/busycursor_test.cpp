#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include "platform/system/busycursor.h"

namespace contado {
namespace {

Qt::CursorShape Shown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST(BusyCursor, NestedStartsRestoreTheRememberedCursorAtTheLastEnd) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    {
        TBusyCursor outer;
        EXPECT_EQ(Shown(), Qt::WaitCursor);
        {
            TBusyCursor inner;
            EXPECT_EQ(TBusyCursor::Depth(), 2);
        }
        EXPECT_EQ(Shown(), Qt::WaitCursor) << "an inner end keeps the hourglass";
    }
    EXPECT_EQ(Shown(), Qt::PointingHandCursor);
    EXPECT_EQ(TBusyCursor::Depth(), 0);
    TBusyCursor::End();
    EXPECT_EQ(Shown(), Qt::PointingHandCursor) << "an end without a start changes nothing";
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace contado
