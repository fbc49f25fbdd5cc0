#pragma once

#include <QObject>
#include <QString>

class QWebEnginePage;
class QWidget;

namespace lumera {

class FindBar;

// The words of the search that opened the page shown, marked in it as the
// find bar marks a match, every form the search matched; F3 and Shift+F3 go
// from one to the next and the find bar says where. A new page has none.
class SearchHighlight : public QObject {
    Q_OBJECT
  public:
    // The keys act anywhere in keysOn's window.
    SearchHighlight(QWebEnginePage* page, FindBar* bar, QWidget* keysOn);

    // Marks, once the page's text is read, what request matched in it.
    void mark(const QString& request);
    int count() const { return count_; }

  Q_SIGNALS:
    void marked(int count);

  private:
    void step(bool backward);

    QWebEnginePage* page_;
    FindBar* bar_;
    int count_ = 0;
};

}  // namespace lumera
