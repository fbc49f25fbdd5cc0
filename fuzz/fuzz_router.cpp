// The router on a random sequence of events. The input is read as lines:
//   "!"        the page finished loading (DocumentComplete)
//   "<"        the oldest target the router navigated to comes back
//   "?TEXT"    the page's "request" element now holds TEXT ("?" alone: no element)
//   any other  a navigation to that URL (BeforeNavigate2)

#include <QSet>

#include "FuzzCheck.h"
#include "navigation/RouteTrace.h"

using namespace lumera;

namespace {

void checkGuards(const Router& router, const QString& event) {
    for (std::size_t i = 0; i < kGuardCount; ++i) {
        const auto value = router.guards().value(static_cast<Guard>(i));
        fuzz::check(value == 0 || value == 1, "guard neither 0 nor 1",
                    [&] { return event + QStringLiteral(" guard %1 = %2").arg(i).arg(value); });
    }
    fuzz::check(router.ownTargetCount() <= Router::kMaxOwnTargets,
                "own-navigation memory unbounded",
                [&] { return QString::number(router.ownTargetCount()); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    RouteTrace trace(QStringLiteral("D:"));
    QStringList pending;  // the router's own navigations, in order
    for (const QString& line : text.split(u'\n')) {
        QString url = line;
        if (line == u"!") {
            trace.documentComplete();
            checkGuards(trace.router(), line);
            continue;
        }
        if (line.startsWith(u'?')) {
            trace.setRequestValue(line.size() > 1 ? std::optional(line.mid(1)) : std::nullopt);
            continue;
        }
        if (line == u"<") {
            if (pending.isEmpty()) continue;
            url = pending.takeFirst();
        }
        const QStringList actions = trace.navigate(url);
        checkGuards(trace.router(), url);
        QSet<QString> targets;
        for (const QString& action : actions) {
            if (!action.startsWith(u"Navigate ")) continue;
            const QString target = action.mid(9);
            fuzz::check(!targets.contains(target), "same target navigated twice for one event",
                        [&] { return actions.join(u'\n'); });
            targets.insert(target);
            pending.append(target);
        }
        fuzz::check(actions.last().startsWith(u"Cancel "), "event did not finish",
                    [&] { return actions.join(u'\n'); });
        if (pending.size() > 4 * Router::kMaxOwnTargets) pending.removeFirst();
    }
    return 0;
}
