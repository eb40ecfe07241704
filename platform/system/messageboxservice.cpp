#include "platform/system/messageboxservice.h"

#include <QGuiApplication>
#include <iostream>

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

bool RunsWithoutDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform == u"offscreen" || platform == u"minimal";
}

TMsgDlgBtn AnswerUnattended(const TMessageBoxRequest& request) {
    std::cerr << UnattendedMessageLine(request) << std::endl;
    return UnattendedAnswer(request.buttons);
}

}  // namespace

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
