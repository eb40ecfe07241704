#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>

#include "controls/messageform.h"
#include "platform/services/beep.h"
#include "platform/system/clipboard.h"
#include "platform/system/systemcolors.h"

namespace contado {
namespace {

TMessageBoxRequest Request(TMsgDlgType type, const std::string& text, TMsgDlgButtons buttons) {
    return {type, MessageDlgCaption(type), text, buttons};
}

std::vector<QString> ButtonTextsLeftToRight(const TMessageForm& form) {
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        buttons.push_back(button);
    }
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    std::vector<QString> texts;
    for (QPushButton* button : buttons) {
        texts.push_back(button->text());
    }
    return texts;
}

class MessageFormTest : public testing::Test {
  protected:
    void SetUp() override { QCoreApplication::setApplicationName("Contabiliza ventas contado"); }

    // Shows the box without blocking, presses a key in it and answers what it chose.
    static std::optional<TMsgDlgBtn> PressIn(TMessageForm& form, Qt::Key key) {
        form.show();
        QApplication::setActiveWindow(&form);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, key);
        return form.ChosenButton();
    }
};

TEST_F(MessageFormTest, TitlesAndButtonsInTheirFixedOrder) {
    TMessageForm form(Request(mtConfirmation, "¿Borrar?", {mbHelp, mbNo, mbCancel, mbYes}));
    EXPECT_EQ(form.windowTitle(), "Confirm");
    EXPECT_EQ(ButtonTextsLeftToRight(form), (std::vector<QString>{"&Yes", "&No", "Cancel", "&Help"}));
    TMessageForm plain(Request(mtCustom, "Hola", {mbOK}));
    EXPECT_EQ(plain.windowTitle(), "Contabiliza ventas contado");
    EXPECT_TRUE(plain.isModal());
}

TEST_F(MessageFormTest, DefaultButtonHasFocusAndEnterChoosesIt) {
    for (const auto& [buttons, expected] :
         std::vector<std::pair<TMsgDlgButtons, TMsgDlgBtn>>{{{mbYes, mbOK, mbCancel}, mbOK},
                                                            {{mbYes, mbNo}, mbYes},
                                                            {{mbAbort, mbRetry, mbIgnore}, mbRetry}}) {
        TMessageForm form(Request(mtWarning, "Atención", buttons));
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_EQ(QApplication::focusWidget(), form.Button(expected));
        EXPECT_TRUE(form.Button(expected)->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(form.ChosenButton(), expected);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(MessageFormTest, EscapeChoosesCancelElseNoElseOkElseNothing) {
    for (const auto& [buttons, expected] : std::vector<std::pair<TMsgDlgButtons, std::optional<TMsgDlgBtn>>>{
             {{mbYes, mbNo, mbCancel}, mbCancel},
             {{mbYes, mbNo}, mbNo},
             {{mbOK}, mbOK},
             {{mbAbort, mbRetry, mbIgnore}, std::nullopt}}) {
        TMessageForm form(Request(mtError, "Falla", buttons));
        EXPECT_EQ(PressIn(form, Qt::Key_Escape), expected);
        EXPECT_EQ(form.isVisible(), !expected.has_value()) << "a box without a cancelling button stays";
    }
}

TEST_F(MessageFormTest, RenderedBoxIsSavedForLooking) {
    TMessageForm form(Request(mtConfirmation,
                              "¿Desea borrar el registro seleccionado de la tabla de ajustes?",
                              {mbYes, mbNo, mbCancel}));
    const QImage image = form.grab().toImage();
    EXPECT_TRUE(image.save(CONTADO_BINARY_DIR "/messageform.png"));
    EXPECT_EQ(image.pixelColor(form.width() - 2, 2), clBtnFace);
}

TEST_F(MessageFormTest, ClickingAButtonAnswersIt) {
    TMessageForm form(Request(mtConfirmation, "¿Seguir?", {mbYes, mbNo, mbAll}));
    form.show();
    QTest::mouseClick(form.Button(mbAll), Qt::LeftButton);
    EXPECT_EQ(form.ChosenButton(), mbAll);
}

TEST_F(MessageFormTest, CtrlCBeepsAndCopiesTheBoxAsText) {
    int beeps = 0;
    SetBeepHook([&beeps] { ++beeps; });
    TMessageForm form(Request(mtConfirmation, "¿Borrar el registro?", {mbNoToAll, mbYes, mbNo}));
    form.show();
    QApplication::setActiveWindow(&form);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    SetBeepHook(nullptr);
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(form.ChosenButton().has_value());
    EXPECT_EQ(ClipboardText(),
              "---------------------------\r\n"
              "Confirm\r\n"
              "---------------------------\r\n"
              "¿Borrar el registro?\r\n"
              "---------------------------\r\n"
              "Yes   No   No to All   \r\n"
              "---------------------------\r\n");
}

TEST_F(MessageFormTest, LongTextWrapsAtHalfTheScreenAndTheBoxIsCentred) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "palabra ";
    }
    TMessageForm wide(Request(mtCustom, text, {mbOK}));
    TMessageForm narrow({mtCustom, "Aviso", "Corto", {mbOK}});
    EXPECT_LE(wide.width(), screen.width() / 2 + 2 * 12);
    EXPECT_GT(wide.width(), screen.width() / 2 - 60);
    EXPECT_GT(wide.height(), narrow.height() + 2 * wide.fontMetrics().height()) << "several lines";
    EXPECT_LT(narrow.width(), 150);
    wide.show();
    EXPECT_LE(std::abs(wide.geometry().center().x() - available.center().x()), 1);
    EXPECT_LE(std::abs(wide.geometry().center().y() - available.center().y()), 1);
}

TEST_F(MessageFormTest, IconsByKindPlainBoxHasNone) {
    const auto render = [](TMsgDlgType type) {
        TMessageForm form(Request(type, "Texto", {mbOK}));
        return form.grab().toImage().copy(12, 13, 32, 32);
    };
    const QImage plain = render(mtCustom);
    const QImage error = render(mtError);
    const QImage warning = render(mtWarning);
    const QImage information = render(mtInformation);
    for (int y = 0; y < 28; ++y) {  // above the row of buttons
        for (int x = 0; x < 32; ++x) {
            const QColor colour = plain.pixelColor(x, y);
            ASSERT_TRUE(colour.red() == colour.green() && colour.green() == colour.blue())
                << "only grey text where others have their icon, at " << x << "," << y;
        }
    }
    EXPECT_EQ(TMessageForm({mtError, "Aviso", "Texto", {mbOK, mbCancel, mbHelp}}).width() -
                  TMessageForm({mtCustom, "Aviso", "Texto", {mbOK, mbCancel, mbHelp}}).width(),
              0)
        << "three buttons are wider than text and icon";
    EXPECT_GT(error.pixelColor(16, 4).red(), 180) << "red stop disc";
    EXPECT_LT(error.pixelColor(16, 4).green(), 80);
    EXPECT_GT(warning.pixelColor(8, 26).green(), 180) << "yellow triangle";
    EXPECT_LT(warning.pixelColor(8, 26).blue(), 60);
    EXPECT_GT(information.pixelColor(16, 4).blue(), 180) << "blue disc";
    EXPECT_NE(render(mtConfirmation), information) << "question mark differs from the i";
}

// A window manager cuts a caption its title bar cannot hold; the text keeps its place at the left
// and the buttons stay centred.
TEST_F(MessageFormTest, AShortBoxIsWideEnoughForItsCaption) {
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    for (const char* caption : {"Contabiliza ventas contado", "Información del año contable", "Señal"}) {
        TMessageForm form({mtError, caption, "Sí.", {mbOK}});
        const int captionWidth = QFontMetrics(title).horizontalAdvance(QString::fromUtf8(caption));
        EXPECT_GE(form.width(), captionWidth + 80) << caption;
        EXPECT_LE(std::abs(form.Button(mbOK)->geometry().center().x() - form.width() / 2), 1) << caption;
        const QImage image = form.grab().toImage();
        EXPECT_GT(image.pixelColor(12 + 16, 13 + 4).red(), 180) << "the stop icon stays at the left";
    }
}

// Minimized, the box would leave the window it blocks with nothing to show.
TEST_F(MessageFormTest, AMinimizedBoxComesBackAtOnce) {
    TMessageForm form(Request(mtError, "No se encontró el año", {mbOK}));
    EXPECT_FALSE(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    form.show();
    form.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MessageFormTest, WithoutDisplayTheInstalledWindowIsNotShown) {
    // A scheduled run has no display: it must never wait for a click on a box.
    TMessageForm::InstallAsMessageBoxWindow();
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageDlg("Sin pantalla", mtError, {mbOK, mbCancel}), mbOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Sin pantalla\n");
    SetMessageBoxWindow(nullptr);
}

}  // namespace
}  // namespace contado
