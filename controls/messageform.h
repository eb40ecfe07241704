#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/messageboxservice.h"

class QPushButton;

namespace contado {

// The program's message box: an icon by kind, the text word-wrapped to at most half the screen's
// width, the buttons in their fixed order below it; sized to its text and wide enough for its
// caption in the title bar, centred on the screen, modal, never minimized. The default button has
// the focus, Esc chooses the cancelling button, and Ctrl+C beeps and copies the box as text.
class TMessageForm : public QDialog {
    Q_OBJECT

  public:
    explicit TMessageForm(const TMessageBoxRequest& request, QWidget* parent = nullptr);

    // Shows the box modally and answers the button chosen.
    TMsgDlgBtn Execute();
    // The button that closed the box; none while it is open.
    std::optional<TMsgDlgBtn> ChosenButton() const { return chosen_; }
    QPushButton* Button(TMsgDlgBtn button) const;
    // What Ctrl+C puts on the clipboard.
    std::string CopyText() const;

    // Makes this box the one the message-box service shows when there is a display.
    static void InstallAsMessageBoxWindow();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void CreateButtons();
    void LayOut();
    void Choose(TMsgDlgBtn button);
    bool HasIcon() const { return request_.type != mtCustom; }

    TMessageBoxRequest request_;
    std::vector<std::pair<TMsgDlgBtn, QPushButton*>> buttons_;
    QRect iconRect_;
    QRect textRect_;
    std::optional<TMsgDlgBtn> chosen_;
};

}  // namespace contado
