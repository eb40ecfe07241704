#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>
#include <stdexcept>

#include "core/exceptions.h"
#include "platform/system/application.h"
#include "platform/system/modality.h"
#include "tests/support/messageboxrecorder.h"

// Whatever raises inside any event of any widget ends in the default error box, or in nothing for
// the silent abort, and the program goes on: the test program runs under the program's own
// application object, so an error that escaped would end it here.

namespace contado {
namespace {

// A widget whose every handler raises what it is told to.
class TFailingWidget : public QWidget {
  public:
    std::function<void()> Fail;

  protected:
    void wheelEvent(QWheelEvent*) override { Fail(); }
    void mousePressEvent(QMouseEvent*) override { Fail(); }
    void paintEvent(QPaintEvent*) override { Fail(); }
};

struct TDelivery {
    const char* Name;
    std::function<void(TFailingWidget&)> Deliver;
};

const TDelivery kDeliveries[] = {
    {"wheel",
     [](TFailingWidget& widget) {
         QWheelEvent wheel(QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                           Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(&widget, &wheel);
     }},
    {"mouse", [](TFailingWidget& widget) { QTest::mousePress(&widget, Qt::LeftButton); }},
    {"paint", [](TFailingWidget& widget) { widget.repaint(); }},
    {"timer",
     [](TFailingWidget& widget) {
         QTimer::singleShot(0, &widget, [&widget] { widget.Fail(); });
         QTest::qWait(20);
     }},
    {"queued call",
     [](TFailingWidget& widget) {
         QMetaObject::invokeMethod(&widget, [&widget] { widget.Fail(); }, Qt::QueuedConnection);
         QCoreApplication::processEvents();
     }},
};

class ApplicationNet : public testing::TestWithParam<TDelivery> {
  protected:
    void SetUp() override {
        QCoreApplication::setApplicationName("Contabiliza ventas contado");
        widget_.resize(40, 40);
        widget_.Fail = [] {};
        widget_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget_));
    }
    TFailingWidget widget_;
    TMessageBoxRecorder boxes_;
};

TEST_P(ApplicationNet, AnErrorEndsInTheDefaultBoxAndTheSilentAbortInNone) {
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    bool failing = true;
    widget_.Fail = [&failing] {
        if (failing) {
            failing = false;
            throw std::runtime_error("'31/02/2026' is not a valid date");
        }
    };
    GetParam().Deliver(widget_);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "'31/02/2026' is not a valid date.");
    EXPECT_EQ(boxes_.Shown()[0].type, mtError);
    EXPECT_EQ(boxes_.Shown()[0].caption, "Contabiliza ventas contado");

    failing = true;
    widget_.Fail = [&failing] {
        if (failing) {
            failing = false;
            throw EAbort();
        }
    };
    GetParam().Deliver(widget_);
    EXPECT_EQ(boxes_.Shown().size(), 1u) << "the silent abort shows nothing";
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfEvent, ApplicationNet, testing::ValuesIn(kDeliveries),
                         [](const testing::TestParamInfo<TDelivery>& info) {
                             std::string name = info.param.Name;
                             std::erase(name, ' ');
                             return name;
                         });

TEST(Modality, AWidgetIsBlockedOnlyByAModalWindowItIsNotPartOf) {
    QWidget window;
    QWidget* child = new QWidget(&window);
    window.show();
    EXPECT_FALSE(BlockedByModalWindow(child));
    QWidget box;
    box.setWindowModality(Qt::ApplicationModal);
    QWidget* boxChild = new QWidget(&box);
    box.show();
    EXPECT_TRUE(BlockedByModalWindow(child));
    EXPECT_FALSE(BlockedByModalWindow(boxChild));
    box.hide();
    EXPECT_FALSE(BlockedByModalWindow(child));
}

}  // namespace
}  // namespace contado
