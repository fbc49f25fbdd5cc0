#include "navigation/Router.h"

namespace lumera {

Router::Router(Browser& browser, RouterActions& actions, const QString& cdRomPath)
    : browser_(browser), actions_(actions), cdRomPath_(cdRomPath) {}

void Router::WebBrowser1_BeforeNavigate2(const QString& url, bool& cancel) {
    // A navigation the router started itself comes back here. Left alone, it
    // would find its rule's guard set, fall to the end of the table and be
    // taken for an article request, so it is recognised by its exact text.
    const bool ownNavigation = ownTargets_.removeOne(url);
    const QString lowerUrl = url.toLower();
    for (const RouteRule& rule : RouteTable()) {
        if (rule.number == kFirstRuleAfterPageName) pageName_ = PageNameOf(url);
        if (!applies(rule, url, lowerUrl, ownNavigation)) continue;
        lastRule_ = rule.number;
        perform(rule, url, ownNavigation, cancel);
        return;
    }
}

void Router::WebBrowser1_DocumentComplete() {
    guards_.clearOnDocumentComplete();
    ownTargets_.clear();
}

bool Router::applies(const RouteRule& rule, const QString& url, const QString& lowerUrl,
                     bool ownNavigation) const {
    // Restarting a "br500" address again and again would never end.
    if (ownNavigation && rule.number == 41) return false;
    return rule.matches(url, lowerUrl) && rule.guardsAllow(guards_);
}

void Router::perform(const RouteRule& rule, const QString& url, bool ownNavigation, bool& cancel) {
    for (const GuardAssignment& a : rule.assignments) guards_.set(a.guard, a.value);
    switch (rule.action) {
        case RouteAction::Redirect:
            navigateOwn(cdRomPath_ + rule.target);
            break;
        case RouteAction::Restart:
            navigateOwn(url);
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
            // The router's own section and timeline pages go through.
            if (ownNavigation) break;
            actions_.BuildArticlePage(pageName_);
            cancel = true;
            break;
    }
}

void Router::navigateOwn(const QString& target) {
    ownTargets_.append(target);
    if (ownTargets_.size() > kMaxOwnTargets) ownTargets_.removeFirst();
    browser_.Navigate(target);
}

}  // namespace lumera
