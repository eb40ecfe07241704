#pragma once

class QWidget;

namespace contado {

// Whether a modal window (a message box, a dialog) is open that the widget is not part of: its
// window then takes no input, so whatever the widget repeats on its own (a held button, a held
// scroll bar arrow) must stop, as if the button had been let go.
bool BlockedByModalWindow(const QWidget* widget);

}  // namespace contado
