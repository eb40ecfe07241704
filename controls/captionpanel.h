#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace contado {

// A panel with a raised one-pixel bevel and a caption bar along its top edge: the bar fills rows 1
// to Height - 2 inside the bevel in the caption colour, the caption text stands one pixel right of
// the bar's left edge at its top. The children aligned with SetAlign share the space below the bar,
// inside the bevel. The panel is painted off-screen, at the screen's device pixel ratio, and copied
// to the screen in one step; it does nothing with the mouse.
class TCaptionPanel : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCaptionHeight = 20;
    static constexpr int kBevelWidth = 1;

    explicit TCaptionPanel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The bar's colour and the caption's font (its colour is the text's).
    void SetCaptionColor(const QColor& color);
    void SetCaptionFont(const QFont& font, const QColor& textColor);

    // The bar, inside the bevel.
    QRect CaptionRect() const;
    // Where the aligned children go: below the bar, inside the bevel.
    QRect ChildArea() const;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PaintPanel(QPainter& painter) const;
    void AlignChildren();

    QString caption_;
    QColor color_;
    QColor captionColor_;
    QFont captionFont_;
    QColor captionTextColor_;
};

}  // namespace contado
