#pragma once

#include <string>

namespace contado {

// Plain text on the system clipboard, UTF-8 on this side.
void SetClipboardText(const std::string& text);
std::string ClipboardText();

}  // namespace contado
