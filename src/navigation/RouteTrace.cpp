#include "navigation/RouteTrace.h"

namespace lumera {

RouteTrace::RouteTrace(const QString& cdRomPath)
    : cdRomPath_(cdRomPath),
      router_(browser_, *this, *this, cdRomPath_),
      history_(browser_, *this) {
    browser_.history = &history_;
}

QStringList RouteTrace::navigate(const QString& url) {
    lines() = QStringList{QStringLiteral("> ") + url};
    bool cancel = false;
    router_.WebBrowser1_BeforeNavigate2(url, cancel);
    lines() << (cancel ? QStringLiteral("Cancel true") : QStringLiteral("Cancel false"));
    return lines();
}

QStringList RouteTrace::step(int direction) {
    lines() = QStringList{direction < 0 ? QStringLiteral("Back") : QStringLiteral("Forward")};
    if (!history_.step(direction)) lines() << QStringLiteral("Nothing");
    return lines();
}

ArticleRequest RouteTrace::BuildArticlePage(QString& pageName) {
    lines() << QStringLiteral("BuildArticlePage ") + pageName;
    if (missingArticles_.contains(pageName)) return ArticleRequest::NoArticle;
    history_.articleBuilt(pageName);
    return ArticleRequest::Handled;
}

QString RouteTrace::existingFile(const QString& path) const {
    return files_.contains(path) ? path : QString();
}

void RouteTrace::LookUpArticleTitle(QString& text) {
    lines() << QStringLiteral("LookUpArticleTitle ") + text;
}

void RouteTrace::ShowPicture() { lines() << QStringLiteral("ShowPicture"); }

}  // namespace lumera
