#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace lumera {

// The picture window "tv": a fixed 436 x 365 picture of a television-style
// player, with the box Picture1 over its screen. Modeless; made on first use
// and reused.
class PictureWindow : public QWidget {
    Q_OBJECT
  public:
    static const QString kCaption;
    static constexpr QSize kClientSize{436, 365};
    // Left 540, top 900, width 5415, height 3555 twips, at 15 twips a pixel.
    static constexpr QRect kScreenArea{36, 60, 361, 237};

    explicit PictureWindow(const QPixmap& picture, QWidget* parent = nullptr);
    // The player picture installed with the program.
    static QPixmap defaultPicture();
    // Shows it, or brings it to the front when it is already shown.
    void showAndRaise();
    // Escape: hidden, the window shown before it active again.
    void closeAndReturn();
    QWidget* picture1() const { return picture1_; }
    // The reader's zoom, as in the main window: the picture and its screen
    // scaled together with Ctrl+Plus, Ctrl+Minus, Ctrl+0 or Ctrl+wheel.
    void setZoom(double factor);
    double zoom() const { return zoom_; }

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    QPixmap picture_;
    QLabel* background_;
    QWidget* picture1_;
    QPointer<QWidget> returnTo_;
    double zoom_ = 1.0;
};

}  // namespace lumera
