#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

#include "articles/EventYielder.h"
#include "host/ArticleDatabase.h"
#include "host/Browser.h"
#include "host/ContentPaths.h"
#include "host/FileAccess.h"
#include "host/RunGate.h"
#include "host/WindowSystem.h"

namespace lumera {

struct ArticlePageResult {
    enum class Status {
        Built,     // the page was written and shown
        NotFound,  // no article has that key; nothing changed
        Failed,    // nothing shown; message says why (the user has seen it)
        Queued,    // another request was running; this one runs after it unless a newer one
                   // arrives first
    };
    Status status = Status::NotFound;
    QString message;
    // Built: the article's title, as its page shows it.
    QString title = {};
};

// The page template of the installation folder, as its lines; nothing when
// it cannot be read.
std::optional<QStringList> readPageTemplate(const FileAccess& files, const QString& installPath);

// Builds an article's page from the database and the page template, writes it
// to "vf.htm" in the installation directory and shows it in the browser.
class ArticlePageBuilder {
  public:
    static constexpr std::chrono::milliseconds kDefaultYieldInterval{5};

    // paths is read at every request: it may be filled in after construction.
    ArticlePageBuilder(ArticleDatabaseOpener& databases, FileAccess& files, Browser& browser,
                       WindowSystem& windows, const ContentPaths& paths,
                       std::chrono::milliseconds yieldInterval = kDefaultYieldInterval);

    // Requests never overlap: one made while another runs (from an event
    // handled during a yield) waits for it, and of several waiting ones only
    // the newest runs. The result is that of this call's own request.
    ArticlePageResult BuildArticlePage(const QString& key);

  private:
    ArticlePageResult runRequest(const QString& key);
    ArticlePageResult buildPage(const QString& key, EventYielder& yielder);
    static ArticlePageResult failure(const QString& message);
    // As messages name it: absolute, not as lex.ini wrote it.
    QString installFolder() const;
    bool writeFile(const QString& name, const QByteArray& content) const;

    ArticleDatabaseOpener& databases_;
    FileAccess& files_;
    Browser& browser_;
    WindowSystem& windows_;
    const ContentPaths& paths_;
    std::chrono::milliseconds yieldInterval_;
    RunGate requests_;
};

}  // namespace lumera
