#pragma once

#include <QObject>
#include <QString>

class QWebEnginePage;

namespace lumera {

// The words of the search that opened the page shown, marked in it as the
// find bar marks a match, every form the search matched, to be stepped
// through. A new page has none.
class SearchHighlight : public QObject {
    Q_OBJECT
  public:
    explicit SearchHighlight(QWebEnginePage* page);

    // Marks, once the page's text is read, what request matched in it, and
    // steps to the first mark.
    void mark(const QString& request);
    int count() const { return count_; }
    // To the next (or previous) mark, outlined and in view.
    void step(bool backward);

  Q_SIGNALS:
    void marked(int count);
    // A step reached the mark of this number, counted from 1.
    void stepped(int at);
    // A step on a page without marks.
    void nothingToStep(bool backward);

  private:
    QWebEnginePage* page_;
    int count_ = 0;
};

}  // namespace lumera
