#pragma once

#include <QAbstractButton>
#include <QBitmap>
#include <QImage>
#include <QPixmap>

namespace contado {

// A flat push button that never takes the focus, with a picture above its caption. The picture's
// bottom-left pixel gives its background colour, which is left out when drawing; a picture of
// device pixel ratio 2 (resources' @2x) is shown at half its pixel size. The flat button
// shows a raised edge while the mouse is over it and a lowered one while it is pressed; disabled,
// picture and caption are drawn engraved in the shadow and highlight colours.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit TSpeedButton(const QString& caption, QWidget* parent = nullptr);

    void SetGlyph(const QImage& glyph);
    // Where picture and caption stand, centred as one block, picture on top.
    QRect GlyphRect() const;
    QRect CaptionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void DrawFrame(QPainter& painter);
    void DrawGlyph(QPainter& painter, QPoint offset);
    void DrawCaption(QPainter& painter, QPoint offset);
    int CaptionHeight() const;

    QPixmap glyph_;
    QBitmap shape_;
    bool hovered_ = false;
};

}  // namespace contado
