#include "platform/services/messageboxservice.h"

#include "platform/services/diagnostics.h"

namespace contado {

namespace {

TMessageBoxHook& Hook() {
    static TMessageBoxHook hook;
    return hook;
}

TMessageBoxWindow& Window() {
    static TMessageBoxWindow window;
    return window;
}

bool withoutDisplay = true;

// Errors and warnings keep their rank in the system log; the other boxes only inform.
TDiagnosticLevel LevelOf(TMsgDlgType type) {
    switch (type) {
        case mtError:
            return dlError;
        case mtWarning:
            return dlWarning;
        default:
            return dlInformation;
    }
}

TMsgDlgBtn AnswerUnattended(const TMessageBoxRequest& request) {
    WriteDiagnostic(LevelOf(request.type), UnattendedMessageLine(request));
    return UnattendedAnswer(request.buttons);
}

}  // namespace

bool RunsWithoutDisplay() {
    return withoutDisplay;
}

void SetRunsWithoutDisplay(bool withoutDisplayNow) {
    withoutDisplay = withoutDisplayNow;
}

TMsgDlgBtn ShowMessageBox(const TMessageBoxRequest& request) {
    TMessageBoxRequest shown = request;
    if (shown.buttons.Empty()) {
        shown.buttons = {mbOK};
    }
    if (Hook()) {
        return Hook()(shown);
    }
    if (RunsWithoutDisplay() || !Window()) {
        return AnswerUnattended(shown);
    }
    return Window()(shown);
}

TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return ShowMessageBox({type, MessageDlgCaption(type), text, buttons});
}

void ShowMessage(const std::string& text) {
    MessageDlg(text, mtCustom, {mbOK});
}

void SetMessageBoxHook(TMessageBoxHook hook) {
    Hook() = std::move(hook);
}

void SetMessageBoxWindow(TMessageBoxWindow window) {
    Window() = std::move(window);
}

std::string UnattendedMessageLine(const TMessageBoxRequest& request) {
    std::string line = request.caption + ": " + request.text;
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace contado
