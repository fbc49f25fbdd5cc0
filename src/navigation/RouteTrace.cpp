#include "navigation/RouteTrace.h"

namespace lumera {

RouteTrace::RouteTrace(const QString& cdRomPath)
    : cdRomPath_(cdRomPath), router_(browser_, *this, *this, cdRomPath_) {}

QStringList RouteTrace::navigate(const QString& url) {
    lines() = QStringList{QStringLiteral("> ") + url};
    bool cancel = false;
    router_.WebBrowser1_BeforeNavigate2(url, cancel);
    lines() << (cancel ? QStringLiteral("Cancel true") : QStringLiteral("Cancel false"));
    return lines();
}

ArticleRequest RouteTrace::BuildArticlePage(QString& pageName) {
    lines() << QStringLiteral("BuildArticlePage ") + pageName;
    return missingArticles_.contains(pageName) ? ArticleRequest::NoArticle
                                               : ArticleRequest::Handled;
}

QString RouteTrace::existingFile(const QString& path) const {
    return files_.contains(path) ? path : QString();
}

void RouteTrace::LookUpArticleTitle(QString& text) {
    lines() << QStringLiteral("LookUpArticleTitle ") + text;
}

void RouteTrace::ShowPicture() { lines() << QStringLiteral("ShowPicture"); }

}  // namespace lumera
