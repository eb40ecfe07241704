#pragma once

#include <functional>
#include <string>

#include "platform/services/msgdlg.h"

namespace contado {

// What a message box shows. The kind chooses the icon; the caption is given separately, because the
// default error box shows the error icon under the application title.
struct TMessageBoxRequest {
    TMsgDlgType type = mtCustom;
    std::string caption;
    std::string text;
    TMsgDlgButtons buttons{mbOK};
};

// Every message box of the program goes through here and answers the button chosen.
//
// - A test hook, when set, answers instead of any window.
// - Without a display (the "offscreen" and "minimal" platforms), a box writes its caption and text
//   as one line to standard error and answers at once with its default button; a program started by
//   a scheduler would otherwise wait for a click that never comes.
// - Otherwise the registered box window is shown modally. The controls layer registers it.
TMsgDlgBtn ShowMessageBox(const TMessageBoxRequest& request);

// A box of a kind with its usual caption.
TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The plain box: the application title, no icon, one "OK".
void ShowMessage(const std::string& text);

using TMessageBoxHook = std::function<TMsgDlgBtn(const TMessageBoxRequest&)>;
using TMessageBoxWindow = std::function<TMsgDlgBtn(const TMessageBoxRequest&)>;

// Tests answer boxes through the hook; an empty hook removes it.
void SetMessageBoxHook(TMessageBoxHook hook);
// The modal box window used with a display.
void SetMessageBoxWindow(TMessageBoxWindow window);

// True until the toolkit says it shows windows on a screen; true on its "offscreen" and "minimal"
// platforms: nobody is at a screen to answer.
bool RunsWithoutDisplay();
// Said once the toolkit knows its platform.
void SetRunsWithoutDisplay(bool withoutDisplay);

// The one line a box writes without a display: caption, colon, blank, text, line ends as blanks.
std::string UnattendedMessageLine(const TMessageBoxRequest& request);

}  // namespace contado
