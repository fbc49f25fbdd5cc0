#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "host/ContentPaths.h"

namespace lumera {

class ReadingStore;
class WebEngineBrowser;

// The article shown: its key and title; empty on any other page.
struct ShownArticle {
    QString key;
    QString title;
    bool isArticle() const { return !key.isEmpty(); }
};

// What the reader reads: the article shown, each one opened added to the
// history, the place it was scrolled to kept, and an article opened again by
// its key through the router as a link click opens it.
class ReadingSession : public QObject {
    Q_OBJECT
  public:
    // store: null when the reader's list file could not be opened.
    ReadingSession(WebEngineBrowser& browser, ReadingStore* store, const ContentPaths& paths,
                   QObject* parent = nullptr);

    // An article page is being built from key: the next article page shown is it.
    void articleBuilt(const QString& key);
    const ShownArticle& article() const { return article_; }
    ReadingStore* store() const { return store_; }

    // Asks the router for the article of key, as a link to it does.
    void open(const QString& key);

    // "Where I stopped": at start, the last article read, scrolled where it
    // was. Off unless the reader chose it.
    static bool reopensLast();
    static void setReopensLast(bool on);
    // Opens the last article when the option is on; false when nothing is.
    bool reopenLast();

  Q_SIGNALS:
    void articleShown();

  private:
    void documentCompleted();
    void keepPosition();

    WebEngineBrowser& browser_;
    ReadingStore* store_;
    const ContentPaths& paths_;
    ShownArticle article_;
    QString builtKey_;
    bool settled_ = false;  // the page shown has been looked at
    int pendingScroll_ = -1;
    QTimer positionTimer_;
};

}  // namespace lumera
