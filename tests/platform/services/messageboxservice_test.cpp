#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include "core/exceptions.h"
#include "platform/services/eventhandler.h"
#include "platform/services/messageboxservice.h"
#include "tests/support/messageboxrecorder.h"

namespace contado {
namespace {

TEST(MessageDlgRules, CaptionsByKind) {
    QCoreApplication::setApplicationName("Contabiliza ventas contado");
    EXPECT_EQ(MessageDlgCaption(mtWarning), "Warning");
    EXPECT_EQ(MessageDlgCaption(mtError), "Error");
    EXPECT_EQ(MessageDlgCaption(mtInformation), "Information");
    EXPECT_EQ(MessageDlgCaption(mtConfirmation), "Confirm");
    EXPECT_EQ(MessageDlgCaption(mtCustom), "Contabiliza ventas contado");
}

TEST(MessageDlgRules, ButtonsStandInTheirOrderWhateverTheOrderGiven) {
    const TMsgDlgButtons buttons{mbHelp, mbCancel, mbYes, mbNoToAll};
    EXPECT_EQ(buttons.InOrder(), (std::vector<TMsgDlgBtn>{mbYes, mbCancel, mbNoToAll, mbHelp}));
    std::vector<std::string> captions;
    for (TMsgDlgBtn button : TMsgDlgButtons{mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
                                            mbNoToAll, mbYesToAll, mbHelp}
                                 .InOrder()) {
        captions.push_back(ButtonCaption(button));
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry",
                                                  "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"}));
}

TEST(MessageDlgRules, DefaultIsOkThenYesThenRetry) {
    EXPECT_EQ(DefaultButton({mbYes, mbOK, mbRetry}), mbOK);
    EXPECT_EQ(DefaultButton({mbRetry, mbYes, mbNo}), mbYes);
    EXPECT_EQ(DefaultButton({mbAbort, mbRetry, mbIgnore}), mbRetry);
    EXPECT_EQ(DefaultButton({mbAbort, mbIgnore}), std::nullopt);
}

TEST(MessageDlgRules, EscapeIsCancelThenNoThenOk) {
    EXPECT_EQ(CancelButton({mbOK, mbCancel, mbNo}), mbCancel);
    EXPECT_EQ(CancelButton({mbYes, mbNo, mbOK}), mbNo);
    EXPECT_EQ(CancelButton({mbOK, mbHelp}), mbOK);
    EXPECT_EQ(CancelButton({mbAbort, mbRetry, mbIgnore}), std::nullopt);
}

TEST(MessageDlgRules, UnattendedAnswerIsTheDefaultElseTheFirstButton) {
    EXPECT_EQ(UnattendedAnswer({mbYes, mbNo}), mbYes);
    EXPECT_EQ(UnattendedAnswer({mbIgnore, mbAbort}), mbAbort);
}

TEST(MessageBoxService, HookSeesKindCaptionTextAndAnswers) {
    QCoreApplication::setApplicationName("Contabiliza ventas contado");
    TMessageBoxRecorder recorder;
    recorder.QueueAnswer(mbNo);
    EXPECT_EQ(MessageDlg("¿Borrar?", mtConfirmation, {mbYes, mbNo}), mbNo);
    ShowMessage("Hola");
    ASSERT_EQ(recorder.Shown().size(), 2u);
    EXPECT_EQ(recorder.Shown()[0].type, mtConfirmation);
    EXPECT_EQ(recorder.Shown()[0].caption, "Confirm");
    EXPECT_EQ(recorder.Shown()[0].text, "¿Borrar?");
    EXPECT_EQ(recorder.Shown()[1].type, mtCustom);
    EXPECT_EQ(recorder.Shown()[1].caption, "Contabiliza ventas contado");
    EXPECT_TRUE(recorder.Shown()[1].buttons.Contains(mbOK));
}

TEST(MessageBoxService, WithoutDisplayWritesOneLineAndAnswersTheDefault) {
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    testing::internal::CaptureStderr();
    const TMsgDlgBtn answer = MessageDlg("Primera línea\r\nsegunda", mtWarning, {mbNo, mbYes});
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, mbYes);
    EXPECT_EQ(written, "Warning: Primera línea  segunda\n");
}

TEST(DefaultErrorBox, AddsAFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(DefaultErrorText("Invalid data type for 'Directorio'"), "Invalid data type for 'Directorio'")
        << "a quote has a code below '.'";
    EXPECT_EQ(DefaultErrorText("Sin conexión"), "Sin conexión.") << "bytes of non-ASCII letters are above";
    EXPECT_EQ(DefaultErrorText("Listo."), "Listo.");
    EXPECT_EQ(DefaultErrorText("¿Qué?"), "¿Qué?.") << "'?' has a code above '.'";
    EXPECT_EQ(DefaultErrorText("Falla!"), "Falla!") << "'!' has a code below '.'";
    EXPECT_EQ(DefaultErrorText("(123)"), "(123)");
    EXPECT_EQ(DefaultErrorText("final -"), "final -");
    EXPECT_EQ(DefaultErrorText("1/2"), "1/2.");
    EXPECT_EQ(DefaultErrorText(""), "");
}

TEST(DefaultErrorBox, RunHandlerShowsErrorsUnderTheTitleAndSwallowsAborts) {
    QCoreApplication::setApplicationName("Contabiliza ventas contado");
    TMessageBoxRecorder recorder;
    bool afterError = false;
    RunHandler([&] {
        throw EDatabaseError("Connection failed");
        afterError = true;
    });
    RunHandler([] { throw EAbort(); });
    RunHandler([] { throw std::runtime_error("otro fallo"); });
    EXPECT_FALSE(afterError);
    ASSERT_EQ(recorder.Shown().size(), 2u);
    EXPECT_EQ(recorder.Shown()[0].type, mtError);
    EXPECT_EQ(recorder.Shown()[0].caption, "Contabiliza ventas contado");
    EXPECT_EQ(recorder.Shown()[0].text, "Connection failed.");
    EXPECT_EQ(recorder.Shown()[0].buttons.InOrder(), std::vector<TMsgDlgBtn>{mbOK});
    EXPECT_EQ(recorder.Shown()[1].text, "otro fallo.");
}

}  // namespace
}  // namespace contado
