#include "edition/ReaderLinks.h"

#include <QDir>
#include <optional>

#include "navigation/Router.h"

namespace lumera {
namespace {

// A router's own navigations chain only a few times (a restart, then a file
// shown); more means a loop that the reader would never leave either.
constexpr int kMaxSteps = 8;

// The browser and the reader's actions as the router sees them during one
// click: what it asks for is written down, nothing is shown.
class Click : public Browser, public RouterActions {
  public:
    explicit Click(const ReaderLinks::ArticleKeys& isArticle) : isArticle_(isArticle) {}

    void Navigate(const QString& target) override { next = target; }
    void GoBack() override { outcome.kind = LinkOutcome::Kind::Back; }
    // A link's click carries no search field.
    std::optional<QString> ElementValue(const QString&) const override { return std::nullopt; }
    ArticleRequest BuildArticlePage(QString& pageName) override {
        if (!isArticle_(pageName)) return ArticleRequest::NoArticle;
        outcome = {LinkOutcome::Kind::Article, pageName};
        return ArticleRequest::Handled;
    }
    void LookUpArticleTitle(QString&) override {}
    void ShowPicture() override { outcome.kind = LinkOutcome::Kind::Picture; }

    std::optional<QString> next;
    LinkOutcome outcome;

  private:
    const ReaderLinks::ArticleKeys& isArticle_;
};

bool isDriveScheme(const QString& scheme) {
    return scheme.size() == 1 && scheme[0] >= u'a' && scheme[0] <= u'z';
}

QString withQueryAndFragment(QString text, const QUrl& url) {
    if (url.hasQuery()) text += u'?' + url.query(QUrl::FullyEncoded);
    if (url.hasFragment()) text += u'#' + url.fragment(QUrl::FullyEncoded);
    return text;
}

}  // namespace

ReaderLinks::ReaderLinks(const FileAccess& files, const QString& cdRomPath, ArticleKeys isArticle)
    : files_(files), cdRomPath_(cdRomPath), isArticle_(std::move(isArticle)) {}

LinkOutcome ReaderLinks::follow(const QString& address) const {
    Click click(isArticle_);
    Router router(click, click, files_, cdRomPath_);
    QString url = address;
    for (int step = 0; step < kMaxSteps; ++step) {
        bool cancel = false;
        click.next.reset();
        router.BeforeNavigate2(url, cancel);
        // A navigation started in the handler replaces the one announced.
        if (click.next) {
            url = *click.next;
            continue;
        }
        if (cancel) return click.outcome;
        return {LinkOutcome::Kind::Shown, url};
    }
    return {};
}

bool ReaderLinks::KnownFiles::isFile(const QString& path) const {
    const auto known = known_.constFind(path);
    if (known != known_.constEnd()) return *known;
    return *known_.insert(path, files_.isFile(path));
}

QUrl ReaderLinks::urlOf(const QString& address) {
    QString path = address;
    path.replace(u'\\', u'/');
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 0x80) {
        QUrl url;
        url.setScheme(path.left(1).toLower());
        url.setPath(path.mid(2).isEmpty() ? QStringLiteral("/") : path.mid(2));
        return url;
    }
    return QUrl::fromLocalFile(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
}

QString ReaderLinks::addressOf(const QUrl& pageUrl, const QString& reference) {
    QString written = reference.trimmed();
    // Files of this machine are a scheme whose paths take either slash.
    if (pageUrl.isLocalFile()) written.replace(u'\\', u'/');
    const QUrl url = pageUrl.resolved(QUrl(written, QUrl::TolerantMode));
    if (isDriveScheme(url.scheme())) {
        const QString path = url.path(QUrl::FullyDecoded).replace(u'/', u'\\');
        return withQueryAndFragment(url.scheme().toUpper() + u':' + path, url);
    }
    if (url.isLocalFile()) return withQueryAndFragment(url.toLocalFile(), url);
    return url.toString(QUrl::FullyEncoded);
}

}  // namespace lumera
