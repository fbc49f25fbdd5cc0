// Page build against the I/O floor, on a Jet and on a SQLite edition.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "Benches.h"
#include "articles/ArticlePageBuilder.h"
#include "database/ArticleDatabaseFiles.h"
#include "headless/HeadlessBrowser.h"
#include "headless/HeadlessWindowSystem.h"
#include "media/DriveMap.h"

namespace lumera::bench {
namespace {

struct Article {
    QString key;
    qsizetype bytes = 0;
};

// Up to count articles whose text is nearest to the wanted size.
std::vector<Article> articlesNear(const QString& databaseFile, qsizetype wanted, int count) {
    std::vector<Article> all;
    ArticleDatabaseFiles::openFile(databaseFile)->forEachArticle([&](const ArticleRow& row) {
        all.push_back({row.arquivo, row.verbete.toUtf8().size()});
        return true;
    });
    std::stable_sort(all.begin(), all.end(), [wanted](const Article& a, const Article& b) {
        return std::llabs(a.bytes - wanted) < std::llabs(b.bytes - wanted);
    });
    if (all.size() > std::size_t(count)) all.resize(std::size_t(count));
    return all;
}

// The least any request must do: read the article's bytes from a file and
// write the page's bytes to a file.
double floorOnce(const QString& source, const QString& target, qsizetype pageBytes) {
    const auto start = Clock::now();
    QFile in(source);
    in.open(QIODevice::ReadOnly);
    const QByteArray text = in.readAll();
    // A new file each time, as the page builder makes one: truncating the old
    // one in place would make ext4 flush it first.
    QFile::remove(target);
    QFile out(target);
    out.open(QIODevice::WriteOnly);
    QByteArray page = text.left(pageBytes);
    page.resize(pageBytes, ' ');
    out.write(page);
    out.close();
    return millisecondsSince(start);
}

struct PageFigures {
    Samples build;
    Samples floor;
    qsizetype articleBytes = 0;
    qsizetype pageBytes = 0;
};

PageFigures timePages(const QString& installDir, const std::vector<Article>& articles, int rounds) {
    DriveMap drives;
    drives.allowDirectory(QDir(installDir).absolutePath());
    ArticleDatabaseFiles databases;
    HeadlessBrowser browser;
    HeadlessWindowSystem windows;
    windows.onMessage = [](const ShownMessage& message) {
        QTextStream(stderr) << "page build failed: " << message.text << "\n";
    };
    const ContentPaths paths{QDir(installDir).absolutePath() + u'/', QStringLiteral("D:")};
    ArticlePageBuilder builder(databases, drives, browser, windows, paths);
    const QString page = paths.InstallPath + QStringLiteral("vf.htm");
    const QString articleCopy = paths.InstallPath + QStringLiteral("bench-article.bin");
    const QString floorPage = paths.InstallPath + QStringLiteral("bench-floor.htm");
    PageFigures figures;
    for (int round = 0; round <= rounds; ++round) {
        for (const Article& article : articles) {
            const auto start = Clock::now();
            const auto result = builder.BuildArticlePage(article.key);
            const double built = millisecondsSince(start);
            if (result.status != ArticlePageResult::Status::Built) continue;
            const qsizetype pageBytes = QFileInfo(page).size();
            // The article's own bytes, for the floor to read.
            QFile copy(articleCopy);
            if (round == 0) {
                copy.open(QIODevice::WriteOnly | QIODevice::Truncate);
                copy.write(QByteArray(article.bytes, 'x'));
                copy.close();
                figures.articleBytes = std::max(figures.articleBytes, article.bytes);
                figures.pageBytes = std::max(figures.pageBytes, pageBytes);
                continue;  // the first round warms the caches
            }
            figures.build.add(built);
            copy.open(QIODevice::WriteOnly | QIODevice::Truncate);
            copy.write(QByteArray(article.bytes, 'x'));
            copy.close();
            figures.floor.add(floorOnce(articleCopy, floorPage, pageBytes));
        }
    }
    QFile::remove(articleCopy);
    QFile::remove(floorPage);
    return figures;
}

QString kb(qsizetype bytes) { return number(double(bytes) / 1024.0, 1) + QStringLiteral(" KB"); }

}  // namespace

void benchPageBuild(const BenchContext& context) {
    context.out << "\n### Page build (BuildArticlePage)\n\n";
    Table table(context.out,
                {"engine", "article", "page", "keys × rounds", "median", "p95", "floor median",
                 "floor p95", "ours ÷ floor (median)", "ours ÷ floor (p95)"});
    const int keys = context.quick ? 10 : 50;
    const int rounds = context.quick ? 3 : 10;
    // The Jet fixture is small: its own longest and most typical articles.
    QTemporaryDir jetInstall;
    QFile::copy(context.jetFixture, jetInstall.filePath(QStringLiteral("lex.mdb")));
    QFile::copy(context.templateFile, jetInstall.filePath(QStringLiteral("modelo-final.htm")));
    struct Run {
        QString engine;
        QString install;
        QString label;  // of the summary keys
    };
    std::vector<Run> runs = {
        {QStringLiteral("Jet (fixture)"), jetInstall.path(), QStringLiteral("jetfixture")},
        {QStringLiteral("SQLite"), context.edition, QStringLiteral("sqlite")},
    };
    // The edition's Jet copies, when bench/run could make them: the same rows.
    for (const JetEdition& jet : jetEditions(context.edition)) {
        runs.push_back({jet.engine, jet.folder, jet.label});
    }
    const QString sqliteFile = context.edition + QStringLiteral("/lex.mdb");
    for (const qsizetype size : {qsizetype(3000), qsizetype(200000)}) {
        // The generated editions' Jet copies are timed on the SQLite edition's keys.
        const auto editionKeys = articlesNear(sqliteFile, size, keys);
        for (const Run& run : runs) {
            const bool fixture = run.install == jetInstall.path();
            // The Jet fixture holds a handful of articles: its few nearest ones.
            const auto articles =
                fixture ? articlesNear(run.install + QStringLiteral("/lex.mdb"), size, 3)
                        : editionKeys;
            const PageFigures f = timePages(run.install, articles, rounds);
            table.row({run.engine, QStringLiteral("≤ ") + kb(f.articleBytes), kb(f.pageBytes),
                       QStringLiteral("%1 × %2").arg(articles.size()).arg(rounds),
                       ms(f.build.median()), ms(f.build.p95()), ms(f.floor.median()),
                       ms(f.floor.p95()), ratio(f.build.median(), f.floor.median()),
                       ratio(f.build.p95(), f.floor.p95())});
            const QString prefix = QStringLiteral("page.%1.%2kb").arg(run.label).arg(size / 1000);
            context.summary.put(prefix + QStringLiteral(".median"), f.build.median());
            context.summary.put(prefix + QStringLiteral(".p95"), f.build.p95());
        }
    }
    context.out << "\nTimes in ms. The article column is the largest text of the keys timed "
                   "(the keys nearest to 3 KB and to 200 KB); the first round of each set warms "
                   "the caches and is not counted. The floor reads the article's bytes from a "
                   "file and writes the page's bytes to a file. The Jet rows of the edition are "
                   "its Jet 4 copies, row for row: without an index, read through the key "
                   "lookup (made before the timing, see the Jet table), and with a Jet index "
                   "on the key columns, read through that index.\n";
    if (jetEditions(context.edition).empty()) {
        context.out << "\nNo Jet copy of this edition: bench/run makes them with "
                       "../shared/tools/jetgen/make-jet when that is beside the repository.\n";
    }
}

}  // namespace lumera::bench
