#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QWebEnginePage;

namespace lumera {

// Find in the page: the match count shown, Enter for the next match,
// Shift+Enter for the previous one, Esc closes.
class FindBar : public QWidget {
    Q_OBJECT
  public:
    explicit FindBar(QWebEnginePage* page, QWidget* parent = nullptr);
    void open();
    void close();
    QString statusText() const;
    // Shown, with status in place of a count, the page keeping the focus.
    void showStatus(const QString& status);
    // The next (or previous) match of the text in the bar, when it has one.
    void findAgain(bool backward);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void find(bool backward);

    QWebEnginePage* page_;
    QLineEdit* edit_;
    QLabel* status_;
};

}  // namespace lumera
