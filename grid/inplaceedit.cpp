#include "grid/inplaceedit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <string>

#include "grid/inplaceeditowner.h"
#include "platform/services/beep.h"
#include "platform/system/clipboard.h"

namespace contado {

namespace {

// The line edit draws its text 2 pixels in from its own margin on the left and centres it
// vertically; these margins put the text where the cell drew it.
constexpr int kRightInset = 2;
constexpr int kRightAlignedInset = 1;
// The line edit's own room on either side of its text, and the caret's.
constexpr int kLineEditTextInset = 2;
constexpr int kCaretWidth = 1;

int CharacterCount(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

}  // namespace

TInplaceEdit::TInplaceEdit(TInplaceEditOwner* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {
    setFrame(false);
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    UpdateMargins();
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!loading_) {
            owner_->EditorTextChanged(text);
        }
    });
}

void TInplaceEdit::Load(int column, int row, const QString& text) {
    loadedColumn_ = column;
    loadedRow_ = row;
    loading_ = true;
    setText(text);
    loading_ = false;
    owner_->EditorTextChanged(text);
    selectAll();
}

void TInplaceEdit::Invalidate() {
    loadedColumn_ = -1;
    loadedRow_ = -1;
}

void TInplaceEdit::Reload(const QString& text) {
    loading_ = true;
    setText(text);
    loading_ = false;
    owner_->EditorTextChanged(text);
    end(false);
}

void TInplaceEdit::SetButtonWidth(int width) {
    buttonWidth_ = width;
    UpdateMargins();
}

int TInplaceEdit::WidthShowing(const QString& text) const {
    const QMargins margins = textMargins();
    return margins.left() + fontMetrics().horizontalAdvance(text) + 2 * kLineEditTextInset + kCaretWidth +
           margins.right();
}

void TInplaceEdit::SetTextAlignment(Qt::Alignment alignment) {
    setAlignment(alignment);
    UpdateMargins();
}

// Right-aligned text ends 3 pixels before the cell's edge, as the cell draws it.
void TInplaceEdit::UpdateMargins() {
    const int inset = (alignment() & Qt::AlignRight) ? kRightAlignedInset : kRightInset;
    setTextMargins(0, 0, inset + buttonWidth_, 0);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const TEditorKeyRoute route =
        EditorKeyRoute(event->key(), event->modifiers(), event->text(), owner_->EditorKeyContext());
    switch (route) {
        case TEditorKeyRoute::Grid:
            owner_->EditorKeyForGrid(event);
            return;
        case TEditorKeyRoute::Type:
            TypeCharacter(event);
            return;
        case TEditorKeyRoute::ChangeText:
            ChangeText(event);
            return;
        case TEditorKeyRoute::SelectAll:
            selectAll();
            return;
        case TEditorKeyRoute::CaretToEnd:
            deselect();
            end(false);
            return;
        case TEditorKeyRoute::DropDown:
            owner_->EditorDropDown();
            return;
        case TEditorKeyRoute::Editor:
            QLineEdit::keyPressEvent(event);
            return;
    }
}

// X11's middle-button paste would bypass the checks; the grid's editor has none.
void TInplaceEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        return;
    }
    QLineEdit::mousePressEvent(event);
}

QString TInplaceEdit::MappedCharacter(const QString& text) const {
    const QChar separator = owner_->CellDecimalSeparator();
    if (!separator.isNull() && (text == QLatin1String(".") || text == QLatin1String(","))) {
        return QString(separator);
    }
    return text;
}

bool TInplaceEdit::FitsLength(int addedCharacters) const {
    const int limit = owner_->CellMaxLength();
    if (limit <= 0) {
        return true;
    }
    const int kept = CharacterCount(text()) - CharacterCount(selectedText());
    return kept + addedCharacters <= limit;
}

// A refused character beeps; a change the cell does not allow now is dropped silently.
void TInplaceEdit::TypeCharacter(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        if (owner_->CanEditModify()) {
            QLineEdit::keyPressEvent(event);
        }
        return;
    }
    const QString typed = MappedCharacter(event->text());
    for (char32_t character : typed.toUcs4()) {
        if (!owner_->AcceptsCharacter(character)) {
            Beep();
            return;
        }
    }
    if (!FitsLength(CharacterCount(typed)) || !owner_->CanEditModify()) {
        return;
    }
    insert(typed);
}

void TInplaceEdit::ChangeText(QKeyEvent* event) {
    const bool paste = event->key() == Qt::Key_V || event->key() == Qt::Key_Insert;
    if (!owner_->CanEditModify()) {
        return;
    }
    if (paste) {
        insert(PasteText());
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

QString TInplaceEdit::PasteText() const {
    std::u32string accepted;
    for (char32_t character : QString::fromStdString(ClipboardText()).toUcs4()) {
        const QString mapped = MappedCharacter(QString::fromUcs4(&character, 1));
        const char32_t kept = mapped.toUcs4().front();
        if (owner_->AcceptsCharacter(kept)) {
            accepted += kept;
        }
    }
    const int limit = owner_->CellMaxLength();
    if (limit > 0) {
        const int room = std::max(0, limit - (CharacterCount(text()) - CharacterCount(selectedText())));
        accepted.resize(std::min<std::size_t>(accepted.size(), static_cast<std::size_t>(room)));
    }
    return QString::fromStdU32String(accepted);
}

}  // namespace contado
