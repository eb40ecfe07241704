#pragma once

#include <functional>
#include <string>

namespace contado {

// Runs an event handler the way the application runs every one of them: an exception leaving the
// handler ends it and is shown in the default error box, and the program goes on; the silent abort
// (EAbort) ends it without any box. Every slot and event override of a window goes through here,
// so no exception ever crosses the event loop.
void RunHandler(const std::function<void()>& handler);

// A handler of an object bound for a signal connection, run through RunHandler.
template <typename Object>
std::function<void()> Guarded(Object* object, void (Object::*handler)()) {
    return [object, handler] { RunHandler([object, handler] { (object->*handler)(); }); };
}

// The default error box: the message, a "." added when the code of its last character is above
// that of "."; caption the application title; the stop icon; one "OK".
void ShowDefaultErrorBox(const std::string& message);
std::string DefaultErrorText(const std::string& message);

}  // namespace contado
