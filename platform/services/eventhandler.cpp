#include "platform/services/eventhandler.h"

#include "core/exceptions.h"
#include "platform/services/messageboxservice.h"

namespace contado {

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const EAbort&) {
        // Already reported to the user: the handler just ends.
    } catch (const std::exception& error) {
        ShowDefaultErrorBox(error.what());
    } catch (...) {
        ShowDefaultErrorBox("Error inesperado");
    }
}

void ShowDefaultErrorBox(const std::string& message) {
    ShowMessageBox({mtError, ApplicationTitle(), DefaultErrorText(message), {mbOK}});
}

std::string DefaultErrorText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

}  // namespace contado
