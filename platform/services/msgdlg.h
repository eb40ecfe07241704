#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contado {

// Kinds of message box; the kind gives the icon and, through MessageDlgCaption, the usual title.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons in the order they stand in a box, left to right.
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};

// A set of buttons.
class TMsgDlgButtons {
  public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn button : buttons) {
            bits_ |= Bit(button);
        }
    }
    constexpr bool Contains(TMsgDlgBtn button) const { return (bits_ & Bit(button)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    // The buttons of the set in their standing order.
    std::vector<TMsgDlgBtn> InOrder() const;

  private:
    static constexpr std::uint32_t Bit(TMsgDlgBtn button) { return 1u << static_cast<unsigned>(button); }
    std::uint32_t bits_ = 0;
};

// "Warning", "Error", "Information", "Confirm"; the application title for a plain box.
std::string MessageDlgCaption(TMsgDlgType type);
// "&Yes", "&No", "OK", "Cancel", ... with the ampersand before the mnemonic.
std::string ButtonCaption(TMsgDlgBtn button);
// "OK" when present, else "&Yes", else "&Retry"; none otherwise.
std::optional<TMsgDlgBtn> DefaultButton(TMsgDlgButtons buttons);
// What Esc chooses: "Cancel" when present, else "&No", else "OK"; none otherwise.
std::optional<TMsgDlgBtn> CancelButton(TMsgDlgButtons buttons);
// The button a box answers without anyone choosing: the default one, else the first one.
TMsgDlgBtn UnattendedAnswer(TMsgDlgButtons buttons);

// The title of the program: caption of the plain boxes and of the default error box.
std::string ApplicationTitle();

}  // namespace contado
