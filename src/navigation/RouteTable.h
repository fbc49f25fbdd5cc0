#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "navigation/GuardFlags.h"

namespace lumera {

// How a rule looks at the URL: as received (Raw), lower-cased (Lower), or
// not at all (Always).
enum class UrlTest { Raw, Lower, Always };

enum class RouteAction {
    Redirect,     // set guards, navigate to CdRomPath + target
    Restart,      // set guards, navigate to the URL itself
    GoBack,       // go back one page; cancel
    SearchField,  // look up the page's "request" field; cancel
    ShowPicture,  // open the picture window; cancel
    LetThrough,
    Generate,  // build the article page named by PageName; cancel
};

// A guard condition: the flag must be set (1) or clear (0).
struct GuardCondition {
    Guard guard;
    bool mustBeSet;
};

struct GuardAssignment {
    Guard guard;
    std::int16_t value;
};

struct RouteRule {
    int number;
    UrlTest test;
    QStringList patterns;  // any one of them matches
    std::vector<GuardCondition> conditions;
    RouteAction action;
    std::vector<GuardAssignment> assignments;  // made before the router navigates
    QString target;                            // Redirect only

    bool matches(const QString& url, const QString& lowerUrl) const;
    bool guardsAllow(const GuardFlags& flags) const;
};

// The rules in the order they are tried; the first that applies decides.
const std::vector<RouteRule>& RouteTable();

// Rules before this number see the URL before PageName is computed.
inline constexpr int kFirstRuleAfterPageName = 38;

// The URL's last path segment: after the last "\", then after the last "/".
QString PageNameOf(const QString& url);

}  // namespace lumera
