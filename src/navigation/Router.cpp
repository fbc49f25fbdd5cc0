#include "navigation/Router.h"

namespace lumera {
namespace {

// The rule that turns every address nothing else claimed into an article request.
constexpr int kLastRule = 60;
// Rule 41 restarts a "br500" address without setting any guard.
constexpr int kUnguardedRestartRule = 41;

}  // namespace

Router::Router(Browser& browser, RouterActions& actions, const FileAccess& files,
               const QString& cdRomPath)
    : browser_(browser), actions_(actions), files_(files), cdRomPath_(cdRomPath) {}

void Router::WebBrowser1_BeforeNavigate2(const QString& url, bool& cancel) {
    const Own own = takeOwnTarget(url);
    const QString lowerUrl = url.toLower();
    for (const RouteRule& rule : RouteTable()) {
        if (rule.number == kFirstRuleAfterPageName) pageName_ = PageNameOf(url);
        if (!applies(rule, url, lowerUrl, own)) continue;
        perform(rule, url, own, cancel);
        return;
    }
}

void Router::WebBrowser1_DocumentComplete() {
    guards_.clearOnDocumentComplete();
    ownTargets_.clear();
}

// A navigation the router started itself comes back here. Left alone, it
// would find its rule's guard set, fall to the end of the table and be taken
// for an article request, so it is recognised by its exact text.
Router::Own Router::takeOwnTarget(const QString& url) {
    for (qsizetype i = 0; i < ownTargets_.size(); ++i) {
        if (ownTargets_[i].url == url) return ownTargets_.takeAt(i).kind;
    }
    return Own::No;
}

bool Router::applies(const RouteRule& rule, const QString& url, const QString& lowerUrl,
                     Own own) const {
    // Restarting a "br500" address again and again would never end.
    if (own != Own::No && rule.number == kUnguardedRestartRule) return false;
    return rule.matches(url, lowerUrl) && rule.guardsAllow(guards_);
}

void Router::perform(const RouteRule& rule, const QString& url, Own own, bool& cancel) {
    for (const GuardAssignment& a : rule.assignments) guards_.set(a.guard, a.value);
    switch (rule.action) {
        case RouteAction::Redirect:
            navigateOwn(cdRomPath_ + rule.target, Own::Routed);
            break;
        case RouteAction::Restart:
            navigateOwn(url, Own::Routed);
            break;
        case RouteAction::GoBack:
            browser_.GoBack();
            cancel = true;
            break;
        case RouteAction::SearchField: {
            // No such field, or several: nothing to look up.
            const auto value = browser_.ElementValue(QStringLiteral("request"));
            if (value && !value->isEmpty()) {
                QString text = *value;
                actions_.LookUpArticleTitle(text);
            }
            cancel = true;
            break;
        }
        case RouteAction::ShowPicture:
            actions_.ShowPicture();
            cancel = true;
            break;
        case RouteAction::LetThrough:
            break;
        case RouteAction::Generate:
            // A file shown for want of an article is never asked for again; the
            // router's own section and timeline pages go through where only the
            // last rule would take them. A restarted article link in an article
            // folder is still built.
            if (own == Own::ShowsFile) break;
            if (own == Own::Routed && rule.number == kLastRule) break;
            generate(url);
            cancel = true;
            break;
    }
}

void Router::generate(const QString& url) {
    if (actions_.BuildArticlePage(pageName_) == ArticleRequest::Handled) return;
    // No article by that name: picture and see-also pages, the timeline met a
    // second time and plain pages of the article folders are files on the CD.
    if (namesFile(url)) navigateOwn(url, Own::ShowsFile);
}

bool Router::namesFile(const QString& url) const {
    // A page's query or fragment is no part of its file's name.
    qsizetype end = url.size();
    for (const QChar mark : {u'?', u'#'}) {
        const qsizetype at = url.indexOf(mark);
        if (at >= 0 && at < end) end = at;
    }
    return files_.isFile(url.left(end));
}

void Router::navigateOwn(const QString& target, Own kind) {
    ownTargets_.append({target, kind});
    if (ownTargets_.size() > kMaxOwnTargets) ownTargets_.removeFirst();
    browser_.Navigate(target);
}

}  // namespace lumera
