#include "navigation/RouteTable.h"

namespace lumera {
namespace {

using G = Guard;

RouteRule redirect(int number, const QString& file, Guard guard) {
    return {number,
            UrlTest::Raw,
            {file},
            {{guard, false}},
            RouteAction::Redirect,
            {{guard, 1}},
            QStringLiteral("\\lex2000\\") + file};
}

RouteRule restart(int number, QStringList patterns, std::vector<GuardCondition> conditions,
                  std::vector<GuardAssignment> assignments) {
    return {number,
            UrlTest::Lower,
            std::move(patterns),
            std::move(conditions),
            RouteAction::Restart,
            std::move(assignments),
            {}};
}

// A lower-case test whose rule sets its own guard and restarts.
RouteRule restartOnce(int number, QStringList patterns, Guard guard) {
    return restart(number, std::move(patterns), {{guard, false}}, {{guard, 1}});
}

RouteRule plain(int number, UrlTest test, QStringList patterns, RouteAction action) {
    return {number, test, std::move(patterns), {}, action, {}, {}};
}

std::vector<RouteRule> buildTable() {
    std::vector<RouteRule> rules;
    // 1 to 31: the CD's section pages share one guard.
    for (int n = 1; n <= 31; ++n) {
        rules.push_back(redirect(n, QStringLiteral("v%1.htm").arg(n), G::GuardCdPages));
    }
    rules.push_back(redirect(32, QStringLiteral("fotosm.htm"), G::GuardCdPages));
    rules.push_back(redirect(33, QStringLiteral("creditos.htm"), G::GuardCredits));
    rules.push_back(redirect(34, QStringLiteral("ajuda.htm"), G::GuardHelp));
    rules.push_back(plain(35, UrlTest::Raw, {QStringLiteral("VOLTA")}, RouteAction::GoBack));
    rules.push_back(
        plain(36, UrlTest::Raw, {QStringLiteral("dtsearch.asp")}, RouteAction::SearchField));
    rules.push_back(plain(37, UrlTest::Raw, {QStringLiteral(".tv")}, RouteAction::ShowPicture));

    rules.push_back(restartOnce(38, {QStringLiteral("constit")}, G::GuardConstit));
    rules.push_back(restartOnce(39, {QStringLiteral("codigos.htm")}, G::GuardConstit));
    rules.push_back(restartOnce(40, {QStringLiteral("lex2000a")}, G::GuardLex2000a));
    // The only rule that asks for a set guard, and changes none.
    rules.push_back(restart(41, {QStringLiteral("br500")}, {{G::GuardBr500, true}}, {}));
    rules.push_back(restartOnce(42, {QStringLiteral("01.htm")}, G::GuardBr500));
    rules.push_back(restartOnce(
        43, {QStringLiteral("\\timeline\\main.htm"), QStringLiteral("\\timeline\\timeline.htm")},
        G::GuardTimeline));
    rules.push_back(restartOnce(
        44, {QStringLiteral("\\orq\\main.htm"), QStringLiteral("\\orq\\orq.htm")}, G::GuardOrq));
    rules.push_back(restartOnce(
        45, {QStringLiteral("\\tabela\\main.htm"), QStringLiteral("\\tabela\\tabela.htm")},
        G::GuardTabela));
    rules.push_back(restartOnce(
        46, {QStringLiteral("\\atlasb\\main.htm"), QStringLiteral("\\atlasb\\atlasb.htm")},
        G::GuardAtlasB));
    rules.push_back(restartOnce(
        47, {QStringLiteral("\\atlasg\\main.htm"), QStringLiteral("\\atlasg\\atlasg.htm")},
        G::GuardAtlasG));
    // 48 to 52: the entry page re-arms its sub-pages, and each sub-page the entry page.
    rules.push_back(
        restart(48, {QStringLiteral("\\atlast\\main.htm"), QStringLiteral("\\atlasm\\atlast.htm")},
                {{G::GuardAtlasT, false}},
                {{G::GuardAtlasT, 1},
                 {G::GuardCrono, 0},
                 {G::GuardDeep, 0},
                 {G::GuardSolar, 0},
                 {G::GuardPl32, 0}}));
    const std::pair<QString, Guard> subPages[] = {{QStringLiteral("crono.htm"), G::GuardCrono},
                                                  {QStringLiteral("deep.htm"), G::GuardDeep},
                                                  {QStringLiteral("solar.html"), G::GuardSolar},
                                                  {QStringLiteral("pl32.htm"), G::GuardPl32}};
    int number = 49;
    for (const auto& [pattern, guard] : subPages) {
        rules.push_back(
            restart(number++, {pattern}, {{guard, false}}, {{guard, 1}, {G::GuardAtlasT, 0}}));
    }
    rules.push_back(restartOnce(
        53, {QStringLiteral("\\atlasa\\main.htm"), QStringLiteral("\\atlasa\\anat.htm")},
        G::GuardAtlasA));
    rules.push_back(restartOnce(54, {QStringLiteral("anatf")}, G::GuardAnatf));
    rules.push_back(
        plain(55, UrlTest::Lower, {QStringLiteral("joia.htm")}, RouteAction::LetThrough));
    rules.push_back(
        plain(56, UrlTest::Lower, {QStringLiteral("bannertomoba.gif")}, RouteAction::LetThrough));
    rules.push_back(plain(57, UrlTest::Lower, {QStringLiteral("vf.htm")}, RouteAction::LetThrough));
    rules.push_back(
        plain(58, UrlTest::Raw,
              {QStringLiteral("tomo98a"), QStringLiteral("tomo98b"), QStringLiteral("tomo98c")},
              RouteAction::Generate));
    rules.push_back({59,
                     UrlTest::Always,
                     {},
                     {{G::GuardLex2000a, true}, {G::GuardAtlasA, true}},
                     RouteAction::LetThrough,
                     {},
                     {}});
    rules.push_back(plain(60, UrlTest::Always, {}, RouteAction::Generate));
    return rules;
}

}  // namespace

bool RouteRule::matches(const QString& url, const QString& lowerUrl) const {
    if (test == UrlTest::Always) return true;
    const QString& subject = test == UrlTest::Raw ? url : lowerUrl;
    for (const QString& pattern : patterns) {
        if (subject.contains(pattern, Qt::CaseSensitive)) return true;
    }
    return false;
}

bool RouteRule::guardsAllow(const GuardFlags& flags) const {
    for (const GuardCondition& c : conditions) {
        if ((flags.value(c.guard) != 0) != c.mustBeSet) return false;
    }
    return true;
}

const std::vector<RouteRule>& RouteTable() {
    static const std::vector<RouteRule> table = buildTable();
    return table;
}

QString PageNameOf(const QString& url) {
    QString name = url;
    const qsizetype backslash = name.lastIndexOf(u'\\');
    if (backslash >= 0) name = name.mid(backslash + 1);
    const qsizetype slash = name.lastIndexOf(u'/');
    if (slash >= 0) name = name.mid(slash + 1);
    return name;
}

}  // namespace lumera
