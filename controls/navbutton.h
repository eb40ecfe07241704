#pragma once

#include <QAbstractButton>
#include <QImage>
#include <memory>

#include "controls/navigatebtn.h"
#include "controls/repeattimer.h"

namespace contado {

// A raised button of a navigator bar that knows which one it is. Its glyph bitmap holds two images
// side by side, for the enabled and for the disabled button; the colour of the bitmap's bottom-left
// pixel is transparent. A bitmap of device pixel ratio 2 (resources' @2x) is painted at half its
// pixel size. It never takes the focus. A repeating button, held down, repeats after
// 400 ms and then every 100 ms while it is down and holds the mouse; the click on release comes
// as ever.
class TNavButton : public QAbstractButton {
    Q_OBJECT

  public:
    static constexpr int kRepeatDelay = 400;
    static constexpr int kRepeatInterval = 100;

    TNavButton(TNavigateBtn index, QWidget* parent = nullptr);

    TNavigateBtn Index() const { return index_; }
    void SetGlyph(const QImage& bitmap);
    // The image drawn for the button's enabled state.
    QImage Glyph() const;
    // Kept with the button, never shown: nothing turns hint display on.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }

    bool Repeats() const { return repeats_; }
    void SetRepeats(bool repeats) { repeats_ = repeats; }
    void SetRepeatTimer(std::unique_ptr<TRepeatTimer> timer);
    TRepeatTimer& RepeatTimer() const { return *timer_; }
    void StopRepeat();
    // Stops repeating and shows the button raised, so the release of the press that is still
    // held clicks nothing.
    void LetGo();

  signals:
    // The held button repeats its click.
    void Repeated();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void RepeatTick();
    void DrawFace(QPainter& painter) const;

    TNavigateBtn index_;
    QImage enabledGlyph_;
    QImage disabledGlyph_;
    QString hint_;
    bool repeats_ = false;
    bool holdsMouse_ = false;
    std::unique_ptr<TRepeatTimer> timer_;
};

}  // namespace contado
