#pragma once

#include <QObject>

class QWebEnginePage;

namespace lumera {

// The dark reading mode of every page the browser shows, the CD's, the
// articles and the reader's own: a dark background and light text by a style
// sheet put in each document and frame. Pictures, maps, flags and charts keep
// every pixel: nothing is inverted or filtered, and a picture's transparent
// parts stay on white as on the light page.
class DarkPageStyle : public QObject {
    Q_OBJECT
  public:
    explicit DarkPageStyle(QWebEnginePage* page);

    bool isOn() const { return on_; }
    // On or off for the pages to come and, at once, the page shown.
    void setOn(bool on);

    // The style sheet the pages get.
    static const char* styleSheet();

  private:
    QWebEnginePage* page_;
    bool on_ = false;
};

}  // namespace lumera
