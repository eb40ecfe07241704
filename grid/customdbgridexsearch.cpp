#include <QKeyEvent>
#include <utility>

#include "core/utf8text.h"
#include "data/dataset/dataset.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/griddatalinkex.h"
#include "platform/system/clipboard.h"

// The incremental search: Ctrl+F starts it, typed characters extend the text the current column's
// cells must begin with, Ctrl+Enter and Ctrl+Shift+Enter go to the next and prior match, and the
// keys and moves that end it.

namespace contado {

namespace {

TCustomDBGridEx::TShowFindDialog& FindDialog() {
    static TCustomDBGridEx::TShowFindDialog show;
    return show;
}

const TGridSearchOptions kIncrementalOptions{gsoCaseInsensitive, gsoDisplayText, gsoStopOnEscape};

bool IsPlainEndKey(const QKeyEvent* event) {
    const int key = event->key();
    const bool endKey =
        key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_F2;
    return endKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// The beginning of text as long, in characters, as measure.
QString LeftOf(const QString& text, const QString& measure) {
    const std::string utf8 = text.toStdString();
    return QString::fromStdString(std::string(LeftCharacters(utf8, CharacterCount(measure.toStdString()))));
}

}  // namespace

void TCustomDBGridEx::SetShowFindDialog(TShowFindDialog show) {
    FindDialog() = std::move(show);
}

bool TCustomDBGridEx::SearchKey(TGridKeyAction action, QKeyEvent* event) {
    switch (action) {
        case TGridKeyAction::IncrementalSearch:
            SearchStartKey();
            return true;
        case TGridKeyAction::SearchNext:
        case TGridKeyAction::SearchPrior:
            if (searchActive_) {
                IncrementalSearch(QString(), action == TGridKeyAction::SearchNext ? gsdDown : gsdUp);
            }
            return true;
        case TGridKeyAction::PasteToSearch:
            if (searchActive_) {
                IncrementalSearch(QString::fromStdString(ClipboardText()), gsdAll);
            }
            return true;
        case TGridKeyAction::Type:
            if (searchActive_) {
                TypeToSearch(event);
            }
            return searchActive_;
        default:
            if (searchActive_ && IsPlainEndKey(event)) {
                EndIncrementalSearch();
            }
            return false;
    }
}

// Starts the search, or ends a running one and opens the find dialog; without incremental search
// the dialog opens at once with the editor's selected text.
void TCustomDBGridEx::SearchStartKey() {
    if (searchActive_) {
        EndIncrementalSearch();
        OpenFindDialog(QString());
    } else if (optionsEx_.Contains(dghIncSearch)) {
        IncrementalSearch(QString(), gsdAll);
    } else {
        OpenFindDialog(editor_ != nullptr && editor_->isVisible() ? editor_->selectedText() : QString());
    }
}

void TCustomDBGridEx::OpenFindDialog(const QString& text) {
    if (optionsEx_.Contains(dghDialogFind) && FindDialog()) {
        FindDialog()(*this, text);
    }
}

// Characters search only while the record is not being edited; Backspace only shortens the text.
void TCustomDBGridEx::TypeToSearch(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            DropLastSearchCharacter();
        }
        return;
    }
    const TDataSetState state = DataSet()->State();
    if (state != dsEdit && state != dsInsert) {
        IncrementalSearch(event->text(), gsdAll);
    }
}

// The moves of the search end the mode by the way; it is set again with the text of the match,
// taken from the cell so that its letter case follows the data.
void TCustomDBGridEx::IncrementalSearch(const QString& added, TGridSearchDirection direction) {
    if (!dataLink_->Active()) {
        return;
    }
    const QString candidate = searchText_ + added;
    QString text = searchText_;
    if (!candidate.isEmpty() &&
        SearchCellText({}, candidate, kIncrementalOptions, direction, gsmFromBeginning)) {
        const TDBGridColumnEx* column = CurrentColumnItem();
        text = LeftOf(column != nullptr ? column->DisplayText() : QString(), candidate);
    }
    HideEditor();
    searchActive_ = true;
    searchText_ = text;
    InvalidateRow(CurrentRow());
}

void TCustomDBGridEx::EndIncrementalSearch() {
    if (!searchActive_) {
        return;
    }
    searchActive_ = false;
    searchText_.clear();
    InvalidateRow(CurrentRow());
}

void TCustomDBGridEx::DropLastSearchCharacter() {
    if (searchText_.isEmpty()) {
        return;
    }
    const bool pair = searchText_.size() >= 2 && searchText_.back().isLowSurrogate() &&
                      searchText_.at(searchText_.size() - 2).isHighSurrogate();
    searchText_.chop(pair ? 2 : 1);
    InvalidateRow(CurrentRow());
}

}  // namespace contado
