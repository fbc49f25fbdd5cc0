#pragma once

#include <QKeySequence>
#include <QMainWindow>

namespace lumera {

class Form1Controller;

// The main window: the browser and the menu bar of seven commands.
class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    static const QString kCaption;

    Form1(Form1Controller& controller, QWidget* browserWidget, QWidget* parent = nullptr);

    QWidget* browserWidget() const { return browser_; }
    // 32 x 32 pixels, drawn by tools/make-art.
    static QIcon icon();

    // The place and size the user left the window in, kept for the next run.
    void keepPlace() const;
    // That place, when one was kept; true then.
    bool restorePlace();
    // Grows the window, within the screen, so that the pages, made for its
    // first size, fit at this zoom without a horizontal scroll bar.
    void fitPages(double zoom);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void addCommand(const char* name, const QString& caption, void (Form1Controller::*handler)(),
                    QKeySequence::StandardKey key = QKeySequence::UnknownKey);
    void Form_Resize();

    Form1Controller& controller_;
    QWidget* client_;
    QWidget* browser_;
};

}  // namespace lumera
