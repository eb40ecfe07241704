#pragma once

#include <QLineEdit>

namespace contado {

class TInplaceEditOwner;

// The grid's single-line editor: no frame, laid exactly over the current cell, its text inset as the
// cell draws it. It remembers the cell it was loaded for, checks every change of its text with its
// owner (characters, size, leave to modify) and hands the keys it does not keep to the grid.
class TInplaceEdit : public QLineEdit {
  public:
    TInplaceEdit(TInplaceEditOwner* owner, QWidget* parent);

    // The cell the editor was last loaded for; (-1, -1) before the first load.
    int LoadedColumn() const { return loadedColumn_; }
    int LoadedRow() const { return loadedRow_; }
    // Loads a cell's text and selects all of it.
    void Load(int column, int row, const QString& text);
    // Forgets the loaded cell, so the next show loads again.
    void Invalidate();
    // Reloads the text of the cell it holds, caret at the end.
    void Reload(const QString& text);

    // Left, right or centred in the cell, as the cell's text is drawn.
    void SetTextAlignment(Qt::Alignment alignment);

    // Width of the drop-down button at the right edge; the text ends 2 pixels before it.
    void SetButtonWidth(int width);
    int ButtonWidth() const { return buttonWidth_; }
    // The width at which the editor shows the whole text beside its button, caret included.
    int WidthShowing(const QString& text) const;

  protected:
    TInplaceEditOwner* Owner() const { return owner_; }
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void TypeCharacter(QKeyEvent* event);
    QString MappedCharacter(const QString& text) const;
    bool FitsLength(int addedCharacters) const;
    void ChangeText(QKeyEvent* event);
    // The clipboard's text without the characters the cell does not take, cut to the room left.
    QString PasteText() const;
    void UpdateMargins();

    TInplaceEditOwner* owner_;
    int loadedColumn_ = -1;
    int loadedRow_ = -1;
    int buttonWidth_ = 0;
    bool loading_ = false;
};

}  // namespace contado
