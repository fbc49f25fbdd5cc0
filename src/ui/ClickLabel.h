#pragma once

#include <QLabel>

namespace lumera {

// A label that reports a click: a caption, a picture or an invisible hot spot.
// Once given a focus policy it is a button for the keyboard too (Space or
// Enter) and shows its focus; assistive technology sees a button it can press.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

  Q_SIGNALS:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace lumera
