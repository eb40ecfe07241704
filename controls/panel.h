#pragma once

#include <QColor>
#include <QWidget>

namespace contado {

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A plain panel: solid background, an outer and an inner bevel, and an optional caption centred in
// the space inside the bevels.
class TPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TPanel(QWidget* parent = nullptr);

    void SetBevelOuter(TBevelCut cut);
    void SetBevelInner(TBevelCut cut);
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void SetColor(const QColor& color);

    // The area inside the bevels.
    QRect InnerRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    QString caption_;
    QColor color_;
};

}  // namespace contado
