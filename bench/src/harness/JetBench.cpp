// Jet copies of a generated edition: what the key lookup costs to make and
// to keep, and reading every article as lumera-index does, against SQLite.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Benches.h"
#include "database/ArticleDatabaseFiles.h"
#include "database/JetKeyLookup.h"
#include "database/JetKeyLookups.h"

namespace lumera::bench {
namespace {

// Milliseconds to read every article's row, all columns, in stored order.
double readEveryArticle(const QString& databaseFile) {
    const auto start = Clock::now();
    qsizetype bytes = 0;
    ArticleDatabaseFiles::openFile(databaseFile)->forEachArticle([&](const ArticleRow& row) {
        bytes += row.verbete.size() + row.arquivo.size() + row.titulo.size();
        return true;
    });
    if (bytes == 0) throw std::runtime_error("no article read");
    return millisecondsSince(start);
}

}  // namespace

std::vector<JetEdition> jetEditions(const QString& edition) {
    std::vector<JetEdition> found;
    for (const JetEdition& jet :
         {JetEdition{QStringLiteral("Jet"), edition + QStringLiteral("/jet"),
                     QStringLiteral("jet")},
          JetEdition{QStringLiteral("Jet, indexed"), edition + QStringLiteral("/jet-index"),
                     QStringLiteral("jetindex")}}) {
        if (QFileInfo::exists(jet.folder + QStringLiteral("/lex.mdb"))) found.push_back(jet);
    }
    return found;
}

void benchJet(const BenchContext& context) {
    context.out << "\n### Jet copies: the key lookup, and reading every article\n\n";
    const std::vector<JetEdition> editions = jetEditions(context.edition);
    if (editions.empty()) {
        context.out << "No Jet copy of this edition: bench/run makes them with "
                       "../shared/tools/jetgen/make-jet when that is beside the repository.\n";
        return;
    }
    Table table(context.out, {"edition", "lex.mdb (MB)", "lookup first build (ms)", "lookup (KB)",
                              "lookup entries", "reading every article (s)", "÷ SQLite"});
    const int builds = context.quick ? 1 : 3;
    const QString sqliteFile = context.edition + QStringLiteral("/lex.mdb");
    const double sqliteRead = readEveryArticle(sqliteFile);
    table.row({QStringLiteral("SQLite"), number(double(QFileInfo(sqliteFile).size()) / 1e6, 1),
               QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"),
               number(sqliteRead / 1000.0, 2), QStringLiteral("1.00×")});
    context.summary.put(QStringLiteral("read.sqlite.seconds"), sqliteRead / 1000.0);
    for (const JetEdition& jet : editions) {
        const QString databaseFile = jet.folder + QStringLiteral("/lex.mdb");
        const QString lookupFile = JetKeyLookups::pathFor(databaseFile);
        // Made afresh each time, as lumera-index or the first request makes it.
        Samples build;
        for (int i = 0; i < builds; ++i) {
            QFile::remove(lookupFile);
            const auto start = Clock::now();
            if (!JetKeyLookups::prepare(databaseFile)) {
                throw std::runtime_error("the lookup could not be written");
            }
            build.add(millisecondsSince(start));
        }
        QFile saved(lookupFile);
        saved.open(QIODevice::ReadOnly);
        const auto lookup = JetKeyLookup::fromBytes(saved.readAll());
        if (!lookup) throw std::runtime_error("the lookup written does not read back");
        const double read = readEveryArticle(databaseFile);
        const double lookupKb = double(QFileInfo(lookupFile).size()) / 1024.0;
        table.row({jet.engine, number(double(QFileInfo(databaseFile).size()) / 1e6, 1),
                   ms(build.median()), number(lookupKb), number(double(lookup->entryCount())),
                   number(read / 1000.0, 2), ratio(read, sqliteRead)});
        context.summary.put(jet.label + QStringLiteral(".lookup.ms"), build.median());
        context.summary.put(jet.label + QStringLiteral(".lookup.kb"), lookupKb);
        context.summary.put(QStringLiteral("read.") + jet.label + QStringLiteral(".seconds"),
                            read / 1000.0);
    }
    context.out << "\nThe lookup: what `lumera-index` (or the first article request that "
                   "needs one) makes and writes beside lex.mdb as lex.chaves, both tables "
                   "walked once; the indexed copy's queries use it only for keys its Jet "
                   "indexes cannot serve. The median of "
                << builds
                << " builds. Reading every article: every DatabaseV row, key, title and text, "
                   "as lumera-index reads them before it indexes; the rest of its run does not "
                   "depend on the engine.\n";
}

}  // namespace lumera::bench
