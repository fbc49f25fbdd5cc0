#include "navigation/RouteTrace.h"

namespace lumera {

RouteTrace::RouteTrace(const QString& cdRomPath)
    : cdRomPath_(cdRomPath), router_(*this, *this, *this, cdRomPath_) {}

QStringList RouteTrace::navigate(const QString& url) {
    lines_ = QStringList{QStringLiteral("> ") + url};
    bool cancel = false;
    router_.WebBrowser1_BeforeNavigate2(url, cancel);
    lines_ << (cancel ? QStringLiteral("Cancel true") : QStringLiteral("Cancel false"));
    return lines_;
}

void RouteTrace::Navigate(const QString& target) { lines_ << QStringLiteral("Navigate ") + target; }

void RouteTrace::GoBack() { lines_ << QStringLiteral("GoBack"); }

std::optional<QString> RouteTrace::ElementValue(const QString& name) const {
    return name == u"request" ? request_ : std::nullopt;
}

ArticleRequest RouteTrace::BuildArticlePage(QString& pageName) {
    lines_ << QStringLiteral("BuildArticlePage ") + pageName;
    return missingArticles_.contains(pageName) ? ArticleRequest::NoArticle
                                               : ArticleRequest::Handled;
}

QString RouteTrace::existingFile(const QString& path) const {
    return files_.contains(path) ? path : QString();
}

void RouteTrace::LookUpArticleTitle(QString& text) {
    lines_ << QStringLiteral("LookUpArticleTitle ") + text;
}

void RouteTrace::ShowPicture() { lines_ << QStringLiteral("ShowPicture"); }

}  // namespace lumera
