#include <QApplication>
#include <QImage>
#include <QtTest/QTest>

#include "controls/align.h"
#include "core/exceptions.h"
#include "platform/system/systemcolors.h"
#include "tests/controls/navigatorfixture.h"

namespace contado {
namespace {

using Buttons = std::vector<TNavigateBtn>;

int Left(const TDBNavigator& navigator, TNavigateBtn button) {
    return navigator.Buttons(button)->geometry().left();
}

TEST_F(NavigatorTest, SevenButtonsShareThreeHundredAndThreePixels) {
    SetAlign(navigator_, alBottom);
    Show();
    navigator_->resize(303, 18);
    std::vector<int> widths;
    for (TNavigateBtn button : {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbCancel}) {
        widths.push_back(navigator_->Buttons(button)->width());
        EXPECT_EQ(navigator_->Buttons(button)->height(), 18);
    }
    EXPECT_EQ(widths, (std::vector<int>{43, 44, 43, 43, 43, 44, 43}));
    EXPECT_EQ(Left(*navigator_, nbFirst), 0);
    EXPECT_EQ(Left(*navigator_, nbNext), 87);
    EXPECT_EQ(Left(*navigator_, nbCancel), 260);
    for (TNavigateBtn hidden : {nbEdit, nbPost, nbRefresh}) {
        EXPECT_TRUE(navigator_->Buttons(hidden)->isHidden());
        EXPECT_EQ(navigator_->Buttons(hidden)->geometry(), QRect(304, 0, 43, 18)) << "outside the bar";
    }
}

TEST_F(NavigatorTest, SizeIsKeptToTheButtonsMinimumAndAFreeBarToAMultipleOfThem) {
    Show();
    navigator_->resize(303, 18);
    EXPECT_EQ(navigator_->width(), 301) << "not aligned: cut to a multiple of seven";
    EXPECT_EQ(navigator_->Buttons(nbCancel)->width(), 43);
    navigator_->resize(50, 10);
    EXPECT_EQ(navigator_->size(), QSize(140, 18));
    navigator_->SetVisibleButtons({nbFirst, nbLast});
    navigator_->resize(41, 30);
    EXPECT_EQ(navigator_->size(), QSize(40, 30));
    EXPECT_EQ(navigator_->Buttons(nbLast)->geometry(), QRect(20, 0, 20, 30));
    EXPECT_FALSE(navigator_->Buttons(nbPrior)->isVisibleTo(navigator_));
    navigator_->SetVisibleButtons({});
    navigator_->resize(5, 5);
    EXPECT_EQ(navigator_->size(), QSize(20, 18)) << "no visible button counts as one";
}

TEST_F(NavigatorTest, ButtonsCarryTheirGlyphsAndHintsButShowNoHintAndTakeNoFocus) {
    EXPECT_EQ(navigator_->Buttons(nbPrior)->Glyph().size(), QSize(10, 13));
    EXPECT_EQ(navigator_->Buttons(nbNext)->Glyph().size(), QSize(10, 13));
    EXPECT_EQ(navigator_->Buttons(nbFirst)->Glyph().size(), QSize(14, 13));
    EXPECT_EQ(navigator_->Buttons(nbCancel)->Glyph().size(), QSize(14, 13));
    EXPECT_EQ(navigator_->Buttons(nbFirst)->Hint(), "First record");
    EXPECT_EQ(navigator_->Buttons(nbRefresh)->Hint(), "Refresh data");
    EXPECT_EQ(navigator_->Buttons(nbPost)->Hint(), "Post edit");
    for (int index = 0; index < kNavigateBtnCount; ++index) {
        const TNavButton* button = navigator_->Buttons(static_cast<TNavigateBtn>(index));
        EXPECT_EQ(button->Index(), index);
        EXPECT_TRUE(button->toolTip().isEmpty());
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->Glyph().isNull()) << index;
    }
    EXPECT_EQ(navigator_->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(navigator_->ConfirmDelete());
}

TEST_F(NavigatorTest, RaisedButtonsWithBlackGlyphsEnabledAndEmbossedOnesDisabled) {
    SetAlign(navigator_, alBottom);
    navigator_->resize(303, 18);
    FillPlanned(3);
    table_->Open();
    Show();
    const QImage image = navigator_->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), clBtnHighlight);
    EXPECT_EQ(image.pixelColor(42, 17), cl3DDkShadow);
    EXPECT_EQ(image.pixelColor(41, 16), clBtnShadow);
    EXPECT_EQ(image.pixelColor(1, 1), clBtnFace);
    int black = 0, grey = 0, white = 0, olive = 0;
    const auto count = [&](int from, int to, int& dark, int& light) {
        for (int y = 2; y < 16; ++y) {
            for (int x = from + 2; x < to - 2; ++x) {
                const QColor colour = image.pixelColor(x, y);
                dark += colour == QColor(0, 0, 0) || colour == QColor(128, 128, 128);
                light += colour == clBtnHighlight;
                olive += colour == QColor(128, 128, 0);
            }
        }
    };
    int unused = 0;
    count(87, 130, black, unused);  // Next, enabled: a black triangle
    count(0, 43, grey, white);      // First, disabled at the first row: grey over white
    EXPECT_GT(black, 10);
    EXPECT_GT(grey, 10);
    EXPECT_GT(white, 5);
    EXPECT_EQ(image.pixelColor(87 + 43 / 2, 9), QColor(0, 0, 0)) << "the Next triangle, centred";
    EXPECT_EQ(olive, 0) << "the transparent colour never shows";
}

TEST_F(NavigatorTest, WithoutAnOpenDatasetEveryButtonIsDisabledAndClicksDoNothing) {
    Show();
    EXPECT_EQ(Enabled(), Buttons{});
    navigator_->SetDataSource(nullptr);
    navigator_->BtnClick(nbInsert);
    table_->Open();
    EXPECT_EQ(Enabled(), Buttons{}) << "no data source";
    navigator_->SetDataSource(source_);
    EXPECT_EQ(Enabled(), (Buttons{nbInsert}));
    table_->Close();
    navigator_->BtnClick(nbInsert);
    EXPECT_FALSE(table_->Active());
    EXPECT_EQ(Enabled(), Buttons{});
}

TEST_F(NavigatorTest, MovingEnablesTheButtonsThatCanStillMove) {
    FillPlanned(3);
    table_->Open();
    Show();
    EXPECT_EQ(Enabled(), (Buttons{nbNext, nbLast, nbInsert, nbDelete}));
    Click(nbNext);
    EXPECT_EQ(table_->RecNo(), 2);
    EXPECT_EQ(Enabled(), (Buttons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete}));
    Click(nbPrior);
    EXPECT_EQ(table_->RecNo(), 1);
    EXPECT_EQ(Enabled(), (Buttons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete}))
        << "the beginning is known only after a further Prior";
    Click(nbPrior);
    EXPECT_EQ(Enabled(), (Buttons{nbNext, nbLast, nbInsert, nbDelete}));
    Click(nbLast);
    EXPECT_EQ(table_->RecNo(), 3);
    EXPECT_EQ(Enabled(), (Buttons{nbFirst, nbPrior, nbInsert, nbDelete}));
    Click(nbFirst);
    EXPECT_EQ(table_->RecNo(), 1);
    EXPECT_EQ(Enabled(), (Buttons{nbNext, nbLast, nbInsert, nbDelete}));
}

TEST_F(NavigatorTest, AnEmptyTableOnlyInsertsAndAnInsertCanBeCancelled) {
    table_->Open();
    Show();
    EXPECT_EQ(Enabled(), (Buttons{nbInsert}));
    Click(nbInsert);
    EXPECT_EQ(table_->State(), dsInsert);
    EXPECT_TRUE(navigator_->Buttons(nbCancel)->isEnabled());
    EXPECT_FALSE(navigator_->Buttons(nbEdit)->isEnabled());
    EXPECT_TRUE(navigator_->Buttons(nbPost)->isEnabled());
    Click(nbCancel);
    EXPECT_EQ(table_->State(), dsBrowse);
    EXPECT_EQ(table_->RecordCount(), 0);
    EXPECT_EQ(Enabled(), (Buttons{nbInsert}));
    EXPECT_TRUE(navigator_->Buttons(nbEdit)->isEnabled()) << "the hidden Edit follows the table";
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(NavigatorTest, DeleteAsksFirstAndOnlyOkDeletes) {
    FillPlanned(2);
    table_->Open();
    Show();
    boxes_.QueueAnswer(mbCancel);
    Click(nbDelete);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    const TMessageBoxRequest& box = boxes_.Shown()[0];
    EXPECT_EQ(box.type, mtConfirmation);
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, "Delete record?");
    EXPECT_TRUE(box.buttons.Contains(mbOK) && box.buttons.Contains(mbCancel));
    EXPECT_EQ(box.buttons.InOrder().size(), 2u);
    EXPECT_EQ(table_->RecordCount(), 2) << "Cancel leaves the record alone";

    Click(nbInsert);
    Click(nbDelete);
    EXPECT_EQ(table_->State(), dsBrowse) << "the new record is discarded";
    EXPECT_EQ(table_->RecordCount(), 2);
    EXPECT_EQ(boxes_.Shown().size(), 2u);

    navigator_->SetConfirmDelete(false);
    Click(nbDelete);
    EXPECT_EQ(table_->RecordCount(), 1);
    Click(nbDelete);
    EXPECT_EQ(table_->RecordCount(), 0);
    EXPECT_EQ(boxes_.Shown().size(), 2u) << "no question without ConfirmDelete";
    EXPECT_EQ(Enabled(), (Buttons{nbInsert})) << "deleting the only record disables Delete";
    EXPECT_EQ(table_->ChangeCount(), 2);
}

TEST_F(NavigatorTest, HeldNextRepeatsAfterFourHundredThenEveryHundredMillisecondsUntilTheEnd) {
    FillPlanned(6);
    table_->Open();
    Show();
    TNavButton* next = navigator_->Buttons(nbNext);
    QTest::mousePress(next, Qt::LeftButton);
    EXPECT_EQ(table_->RecNo(), 1) << "nothing happens on the press";
    nextTimer_->Advance(399);
    EXPECT_EQ(table_->RecNo(), 1);
    nextTimer_->Advance(1);
    EXPECT_EQ(table_->RecNo(), 2);
    nextTimer_->Advance(99);
    EXPECT_EQ(table_->RecNo(), 2);
    nextTimer_->Advance(1);
    EXPECT_EQ(table_->RecNo(), 3);
    nextTimer_->Advance(200);
    EXPECT_EQ(table_->RecNo(), 5);
    QTest::mouseRelease(next, Qt::LeftButton);
    EXPECT_EQ(table_->RecNo(), 6) << "the click on release still moves once";
    EXPECT_FALSE(nextTimer_->IsActive());
}

TEST_F(NavigatorTest, RepeatingStopsAtTheLastRecordAndOnlyPriorAndNextRepeat) {
    FillPlanned(4);
    table_->Open();
    Show();
    QTest::mousePress(navigator_->Buttons(nbNext), Qt::LeftButton);
    nextTimer_->Advance(400 + 100 * 10);
    EXPECT_EQ(table_->RecNo(), 4);
    EXPECT_TRUE(table_->Eof());
    EXPECT_FALSE(navigator_->Buttons(nbNext)->isEnabled());
    EXPECT_FALSE(nextTimer_->IsActive()) << "a disabled button stops repeating";

    QTest::mousePress(navigator_->Buttons(nbPrior), Qt::LeftButton);
    priorTimer_->Advance(500);
    EXPECT_EQ(table_->RecNo(), 2);
    QTest::mouseRelease(navigator_->Buttons(nbPrior), Qt::LeftButton);
    EXPECT_EQ(table_->RecNo(), 1);
    EXPECT_FALSE(priorTimer_->IsActive());
    EXPECT_FALSE(navigator_->Buttons(nbFirst)->Repeats());
    EXPECT_FALSE(navigator_->Buttons(nbInsert)->Repeats());
}

TEST_F(NavigatorTest, AnErrorOfARepeatedClickStopsTheRepeatingAndIsShown) {
    FillPlanned(6);
    table_->Open();
    Show();
    int scrolls = 0;
    table_->BeforeScroll = [&scrolls](TDataSet*) {
        if (++scrolls == 2) {
            throw EDatabaseError("No se puede avanzar");
        }
    };
    QTest::mousePress(navigator_->Buttons(nbNext), Qt::LeftButton);
    nextTimer_->Advance(400);
    EXPECT_EQ(table_->RecNo(), 2);
    nextTimer_->Advance(100);
    EXPECT_FALSE(nextTimer_->IsActive());
    EXPECT_EQ(table_->RecNo(), 2);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "No se puede avanzar.");
    nextTimer_->Advance(1000);
    EXPECT_EQ(scrolls, 2);
    QTest::mouseRelease(navigator_->Buttons(nbNext), Qt::LeftButton);
    table_->BeforeScroll = nullptr;
}

// A box opened over the window takes the mouse: the held button lets go at its next tick instead of
// repeating behind the box, and the release that follows the box clicks nothing.
TEST_F(NavigatorTest, ABoxOpenedOverTheWindowEndsTheRepeatingAndThePress) {
    FillPlanned(6);
    table_->Open();
    Show();
    TNavButton* next = navigator_->Buttons(nbNext);
    QTest::mousePress(next, Qt::LeftButton);
    nextTimer_->Advance(400);
    ASSERT_EQ(table_->RecNo(), 2);
    {
        QWidget box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        nextTimer_->Advance(100);
        EXPECT_EQ(table_->RecNo(), 2) << "no repeat behind the box";
        EXPECT_FALSE(nextTimer_->IsActive());
        EXPECT_FALSE(next->isDown());
    }
    QTest::mouseRelease(next, Qt::LeftButton);
    nextTimer_->Advance(1000);
    EXPECT_EQ(table_->RecNo(), 2);
}

TEST_F(NavigatorTest, TheBarsOwnEnabledStateAndTheSourcesEndDisableEverything) {
    FillPlanned(2);
    table_->Open();
    Show();
    navigator_->setEnabled(false);
    EXPECT_EQ(Enabled(), Buttons{});
    navigator_->setEnabled(true);
    EXPECT_EQ(Enabled(), (Buttons{nbNext, nbLast, nbInsert, nbDelete}));
    delete source_;
    source_ = nullptr;
    EXPECT_EQ(navigator_->DataSource(), nullptr) << "the bar forgets a source that is gone";
    EXPECT_EQ(Enabled(), Buttons{});
    navigator_->BtnClick(nbLast);
    EXPECT_EQ(table_->RecNo(), 1);
}

}  // namespace
}  // namespace contado
