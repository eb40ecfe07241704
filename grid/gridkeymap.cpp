#include "grid/gridkeymap.h"

namespace contado {

namespace {

constexpr Qt::KeyboardModifiers kChordModifiers = Qt::ControlModifier | Qt::AltModifier;

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Modifiers that change a key's meaning: the keypad flag and Shift on navigation keys do not.
Qt::KeyboardModifiers Chord(Qt::KeyboardModifiers modifiers) {
    return modifiers & kChordModifiers;
}

TGridKeyAction NavigationAction(int key, bool control, const TGridKeyContext& context) {
    switch (key) {
        case Qt::Key_Up:
            return control ? TGridKeyAction::TopRow : TGridKeyAction::Up;
        case Qt::Key_Down:
            return control ? TGridKeyAction::BottomRow : TGridKeyAction::Down;
        case Qt::Key_PageUp:
            return control ? TGridKeyAction::TopRow : TGridKeyAction::PageUp;
        case Qt::Key_PageDown:
            return control ? TGridKeyAction::BottomRow : TGridKeyAction::PageDown;
        case Qt::Key_Home:
            if (control || context.SingleDataColumn) {
                return TGridKeyAction::FirstRecord;
            }
            return TGridKeyAction::FirstColumn;
        case Qt::Key_End:
            if (control || context.SingleDataColumn) {
                return TGridKeyAction::LastRecord;
            }
            return TGridKeyAction::LastColumn;
        case Qt::Key_Left:
            return control ? TGridKeyAction::FirstColumn : TGridKeyAction::PriorColumn;
        case Qt::Key_Right:
            return control ? TGridKeyAction::LastColumn : TGridKeyAction::NextColumn;
        default:
            return TGridKeyAction::None;
    }
}

TGridKeyAction TabAction(int key, Qt::KeyboardModifiers modifiers, const TGridKeyContext& context) {
    const bool shift = modifiers & Qt::ShiftModifier;
    if (modifiers & kChordModifiers) {
        return TGridKeyAction::None;
    }
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && shift)) {
        return TGridKeyAction::PriorCell;
    }
    if (key == Qt::Key_Tab) {
        return TGridKeyAction::NextCell;
    }
    if (IsEnter(key) && context.EnterAsTab) {
        return shift ? TGridKeyAction::PriorCell : TGridKeyAction::NextCell;
    }
    return TGridKeyAction::None;
}

TGridKeyAction ControlAction(int key, Qt::KeyboardModifiers modifiers) {
    if (Chord(modifiers) != Qt::ControlModifier) {
        return TGridKeyAction::None;
    }
    switch (key) {
        case Qt::Key_F:
            return TGridKeyAction::IncrementalSearch;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return modifiers & Qt::ShiftModifier ? TGridKeyAction::SearchPrior : TGridKeyAction::SearchNext;
        case Qt::Key_Apostrophe:
            return TGridKeyAction::CopyFromAbove;
        case Qt::Key_Delete:
            return TGridKeyAction::DeleteRecord;
        case Qt::Key_V:
            return TGridKeyAction::PasteToSearch;
        default:
            return TGridKeyAction::None;
    }
}

bool IsPlainNavigation(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
}

bool IsDropDownKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers chord = Chord(modifiers);
    return (chord == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up)) ||
           (chord == Qt::ControlModifier && IsEnter(key) && !(modifiers & Qt::ShiftModifier));
}

// Keys the editor hands to the grid unchanged.
bool EditorPassesOn(int key, Qt::KeyboardModifiers modifiers, const TGridKeyContext& context) {
    const Qt::KeyboardModifiers chord = Chord(modifiers);
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return !(modifiers & Qt::AltModifier);
        case Qt::Key_Escape:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return !(chord & Qt::AltModifier);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return chord == Qt::NoModifier && context.EnterAsTab;
        case Qt::Key_Insert:
            return chord == Qt::NoModifier && !shift;
        case Qt::Key_Delete:
        case Qt::Key_F:
        case Qt::Key_Apostrophe:
            return chord == Qt::ControlModifier;
        default:
            return false;
    }
}

bool ChangesEditorText(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers chord = Chord(modifiers);
    const bool shift = modifiers & Qt::ShiftModifier;
    if (chord == Qt::NoModifier) {
        return key == Qt::Key_Delete || (key == Qt::Key_Insert && shift);
    }
    return chord == Qt::ControlModifier && (key == Qt::Key_V || key == Qt::Key_X);
}

}  // namespace

bool IsTypedCharacter(const QString& text, Qt::KeyboardModifiers modifiers) {
    if (text.isEmpty() || Chord(modifiers) == Qt::ControlModifier || Chord(modifiers) == Qt::AltModifier) {
        return false;
    }
    const QChar first = text.front();
    return first.isPrint() || first.isSurrogate();
}

TGridKeyAction GridKeyAction(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                             const TGridKeyContext& context) {
    if (TGridKeyAction tab = TabAction(key, modifiers, context); tab != TGridKeyAction::None) {
        return tab;
    }
    if (TGridKeyAction control = ControlAction(key, modifiers); control != TGridKeyAction::None) {
        return control;
    }
    const Qt::KeyboardModifiers chord = Chord(modifiers);
    if (chord == Qt::NoModifier || chord == Qt::ControlModifier) {
        TGridKeyAction move = NavigationAction(key, chord == Qt::ControlModifier, context);
        if (move != TGridKeyAction::None) {
            return move;
        }
    }
    if (chord != Qt::NoModifier) {
        return IsTypedCharacter(text, modifiers) ? TGridKeyAction::Type : TGridKeyAction::None;
    }
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
        case Qt::Key_Escape:
            return TGridKeyAction::Reset;
        case Qt::Key_F2:
            return TGridKeyAction::ShowEditor;
        case Qt::Key_Insert:
            return shift ? TGridKeyAction::PasteToSearch : TGridKeyAction::InsertRecord;
        case Qt::Key_Backspace:
            return TGridKeyAction::Type;
        default:
            return IsTypedCharacter(text, modifiers) ? TGridKeyAction::Type : TGridKeyAction::None;
    }
}

TEditorKeyRoute EditorKeyRoute(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                               const TGridKeyContext& context) {
    const Qt::KeyboardModifiers chord = Chord(modifiers);
    if (context.DateCell && IsDropDownKey(key, modifiers)) {
        return TEditorKeyRoute::DropDown;
    }
    if (EditorPassesOn(key, modifiers, context)) {
        return TEditorKeyRoute::Grid;
    }
    if (ChangesEditorText(key, modifiers)) {
        return TEditorKeyRoute::ChangeText;
    }
    if (chord == Qt::ControlModifier && key == Qt::Key_A) {
        return TEditorKeyRoute::SelectAll;
    }
    if (chord == Qt::NoModifier && key == Qt::Key_F2) {
        return TEditorKeyRoute::CaretToEnd;
    }
    if (chord == Qt::NoModifier && IsPlainNavigation(key)) {
        return TEditorKeyRoute::Editor;
    }
    if (key == Qt::Key_Backspace && chord == Qt::NoModifier) {
        return TEditorKeyRoute::Type;
    }
    return IsTypedCharacter(text, modifiers) ? TEditorKeyRoute::Type : TEditorKeyRoute::Editor;
}

}  // namespace contado
