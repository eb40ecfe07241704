#pragma once

#include <QWidget>

namespace contado {

// A group box in the classic style: an etched frame whose top line runs through the middle of the
// caption, which stands at the left on the panel's own colour. Children are placed relative to the
// box's top-left corner.
class TGroupBox : public QWidget {
    Q_OBJECT

  public:
    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);
    QString Caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
};

}  // namespace contado
