#include "platform/services/msgdlg.h"


namespace contado {

std::vector<TMsgDlgBtn> TMsgDlgButtons::InOrder() const {
    std::vector<TMsgDlgBtn> buttons;
    for (int button = mbYes; button <= mbHelp; ++button) {
        if (Contains(static_cast<TMsgDlgBtn>(button))) {
            buttons.push_back(static_cast<TMsgDlgBtn>(button));
        }
    }
    return buttons;
}

std::string MessageDlgCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return "Warning";
        case mtError:
            return "Error";
        case mtInformation:
            return "Information";
        case mtConfirmation:
            return "Confirm";
        case mtCustom:
            break;
    }
    return ApplicationTitle();
}

std::string ButtonCaption(TMsgDlgBtn button) {
    static const char* const captions[] = {"&Yes",    "&No",  "OK",         "Cancel",      "&Abort", "&Retry",
                                           "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"};
    return captions[button];
}

std::optional<TMsgDlgBtn> DefaultButton(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn candidate : {mbOK, mbYes, mbRetry}) {
        if (buttons.Contains(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<TMsgDlgBtn> CancelButton(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn candidate : {mbCancel, mbNo, mbOK}) {
        if (buttons.Contains(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

TMsgDlgBtn UnattendedAnswer(TMsgDlgButtons buttons) {
    if (const auto button = DefaultButton(buttons)) {
        return *button;
    }
    const std::vector<TMsgDlgBtn> shown = buttons.InOrder();
    return shown.empty() ? mbOK : shown.front();
}

std::string ApplicationTitle() {
    return "Contabiliza ventas contado";
}

}  // namespace contado
