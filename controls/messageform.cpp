#include "controls/messageform.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "controls/messageicon.h"
#include "controls/minimizeguard.h"
#include "platform/services/beep.h"
#include "platform/system/clipboard.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kHorizontalMargin = 12;
constexpr int kVerticalMargin = 13;
constexpr int kIconSize = 32;
constexpr int kIconTextSpacing = 15;
constexpr int kTextButtonsSpacing = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonSpacing = 6;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
// What a title bar needs beside its caption: the close button, the window's icon and the frame,
// with room to spare for a window manager's larger font or more buttons.
constexpr int kTitleBarRoom = 80;

std::string WithoutAmpersands(std::string caption) {
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    return caption;
}

QScreen* BoxScreen() {
    return QGuiApplication::primaryScreen();
}

// The width a title bar needs to show the whole caption, in the desktop's title font made bold, as
// window managers draw the titles; never more than the screen.
int TitleBarWidth(const std::string& caption, int screenWidth) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(QString::fromStdString(caption)) + kTitleBarRoom;
    return std::min(needed, screenWidth);
}

}  // namespace

TMessageForm::TMessageForm(const TMessageBoxRequest& request, QWidget* parent)
    : QDialog(parent, TMinimizeGuard::kWindowFlags), request_(request) {
    new TMinimizeGuard(this);
    setWindowTitle(QString::fromStdString(request_.caption));
    setModal(true);
    setPalette(ClassicPalette());
    setAutoFillBackground(true);
    setFont(MsSansSerifFont(11));
    CreateButtons();
    LayOut();
}

void TMessageForm::CreateButtons() {
    const auto defaultButton = DefaultButton(request_.buttons);
    for (TMsgDlgBtn kind : request_.buttons.InOrder()) {
        auto* button = new QPushButton(QString::fromStdString(ButtonCaption(kind)), this);
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, kind] { Choose(kind); });
        buttons_.emplace_back(kind, button);
        if (kind == defaultButton) {
            button->setDefault(true);
            button->setFocus();
        }
    }
}

// Icon at the top left, the text beside it, the row of buttons centred below both; wide enough
// for the text, the buttons and the caption in the title bar.
void TMessageForm::LayOut() {
    const int screenWidth = BoxScreen() ? BoxScreen()->geometry().width() : 1280;
    const int maxTextWidth = screenWidth / 2;
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, maxTextWidth, 0), kTextFlags,
                                                    QString::fromStdString(request_.text));
    const int textLeft = kHorizontalMargin + (HasIcon() ? kIconSize + kIconTextSpacing : 0);
    iconRect_ = HasIcon() ? QRect(kHorizontalMargin, kVerticalMargin, kIconSize, kIconSize) : QRect();
    textRect_ = QRect(textLeft, kVerticalMargin, needed.width(), needed.height());

    const int count = static_cast<int>(buttons_.size());
    const int rowWidth = count * kButtonWidth + (count - 1) * kButtonSpacing;
    const int width = std::max({textRect_.right() + 1 + kHorizontalMargin, rowWidth + 2 * kHorizontalMargin,
                                TitleBarWidth(request_.caption, screenWidth)});
    const int contentBottom = std::max(textRect_.bottom(), iconRect_.isNull() ? 0 : iconRect_.bottom()) + 1;
    const int buttonTop = contentBottom + kTextButtonsSpacing;
    int left = (width - rowWidth) / 2;
    for (const auto& [kind, button] : buttons_) {
        button->setGeometry(left, buttonTop, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kButtonSpacing;
    }
    setFixedSize(width, buttonTop + kButtonHeight + kVerticalMargin);
    if (BoxScreen()) {
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), BoxScreen()->availableGeometry()));
    }
}

TMsgDlgBtn TMessageForm::Execute() {
    exec();
    return chosen_.value_or(UnattendedAnswer(request_.buttons));
}

QPushButton* TMessageForm::Button(TMsgDlgBtn button) const {
    for (const auto& [kind, widget] : buttons_) {
        if (kind == button) {
            return widget;
        }
    }
    return nullptr;
}

// Line ends are CR LF, as the texts copied from such boxes have always had them.
std::string TMessageForm::CopyText() const {
    const std::string divider(27, '-');
    std::string buttons;
    for (const auto& [kind, widget] : buttons_) {
        buttons += WithoutAmpersands(ButtonCaption(kind)) + "   ";
    }
    std::string text;
    for (const std::string& line :
         {divider, request_.caption, divider, request_.text, divider, buttons, divider}) {
        text += line + "\r\n";
    }
    return text;
}

void TMessageForm::InstallAsMessageBoxWindow() {
    SetMessageBoxWindow([](const TMessageBoxRequest& request) { return TMessageForm(request).Execute(); });
}

void TMessageForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (HasIcon()) {
        DrawMessageIcon(painter, iconRect_, request_.type);
    }
    painter.setPen(clWindowText);
    painter.drawText(textRect_, kTextFlags, QString::fromStdString(request_.text));
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
        Beep();
        SetClipboardText(CopyText());
        return;
    }
    QDialog::keyPressEvent(event);
}

// Esc and the close box choose the cancelling button; a box without one stays open.
void TMessageForm::reject() {
    if (const auto button = CancelButton(request_.buttons)) {
        Choose(*button);
    }
}

void TMessageForm::Choose(TMsgDlgBtn button) {
    chosen_ = button;
    done(QDialog::Accepted);
}

}  // namespace contado
