#include "searchengine/XapianSearchRun.h"

#include <exception>

#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianLog.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

// Xapian reads every match with this before ranking it, which is where the
// time of a large result goes: the caller is asked about stopping from here,
// and once it has said stop no further document is taken.
class AbortingDecider : public Xapian::MatchDecider {
  public:
    explicit AbortingDecider(AbortWatch& watch) : watch_(watch) {}
    bool operator()(const Xapian::Document&) const override {
        if (watch_.aborted()) return false;
        // Reading the clock for every document would cost more than the check.
        constexpr unsigned kDocumentsPerLook = 16;
        if (++seen_ % kDocumentsPerLook == 0) watch_.checkWhenDue();
        return !watch_.aborted();
    }

  private:
    AbortWatch& watch_;
    mutable unsigned seen_ = 0;
};

class IndexUnusable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// listFile: the list's local path, or as the program names it when it has none.
QString unusableIndexMessage(const QString& listFile) {
    const QString where = listFile.isEmpty() ? QString() : QStringLiteral(" (") + listFile + u')';
    return QStringLiteral(
               "Não foi possível pesquisar: o índice de pesquisa%1 está ausente ou "
               "danificado. Refaça-o com o programa lumera-index.")
        .arg(where);
}

}  // namespace

AbortWatch::AbortWatch(SearchCallbacks& callbacks) : callbacks_(callbacks) {
    sinceLastCheck_.start();
}

bool AbortWatch::check() {
    if (!aborted_) aborted_ = callbacks_.CheckForAbort() != 0;
    sinceLastCheck_.restart();
    return aborted_;
}

bool AbortWatch::checkWhenDue() {
    return sinceLastCheck_.elapsed() >= kIntervalMs ? check() : aborted_;
}

XapianSearchRun::XapianSearchRun(SearchCallbacks& callbacks, ProgramPathResolver resolveProgramPath)
    : callbacks_(callbacks),
      resolveProgramPath_(std::move(resolveProgramPath)),
      abortWatch_(callbacks) {}

std::shared_ptr<XapianResultList> XapianSearchRun::run(const QString& request,
                                                       const QString& listFile) {
    failure_.clear();
    otherSpellings_.clear();
    const auto nothing = std::make_shared<XapianResultList>();
    callbacks_.ReceiveSearching(request);
    if (abortWatch_.check()) return nothing;
    try {
        const Indexes indexes = openIndexes(listFile);
        XapianQueryBuilder queryBuilder(indexes.database, indexes.lexicons);
        const Xapian::Query query = queryBuilder.build(request);
        otherSpellings_ = queryBuilder.searchedSpellings();
        if (query.empty()) return nothing;
        return collect(match(indexes.database, query), indexes);
    } catch (const IndexUnusable& error) {
        qCWarning(lcSearch).noquote() << error.what();
    } catch (const Xapian::Error& error) {
        qCWarning(lcSearch).noquote()
            << "search for" << request << "failed:" << error.get_description().c_str();
    } catch (const std::exception& error) {
        qCWarning(lcSearch).noquote() << "search for" << request << "failed:" << error.what();
    }
    // The query text cannot make a run fail (it is rejected as no query), so
    // what did is the index: the reader says so instead of "not found".
    const QString localListFile =
        resolveProgramPath_ && !listFile.isEmpty() ? resolveProgramPath_(listFile) : QString();
    failure_ = unusableIndexMessage(localListFile.isEmpty() ? listFile : localListFile);
    return nothing;
}

XapianSearchRun::Indexes XapianSearchRun::openIndexes(const QString& listFile) const {
    if (listFile.isEmpty()) throw IndexUnusable("no index folder was given");
    const QString localListFile = resolveProgramPath_ ? resolveProgramPath_(listFile) : listFile;
    if (localListFile.isEmpty()) {
        throw IndexUnusable(
            QStringLiteral("the index list %1 was not found").arg(listFile).toStdString());
    }
    const IndexListReading list = readIndexList(localListFile, resolveProgramPath_);
    if (!list.error.isEmpty()) throw IndexUnusable(list.error.toStdString());
    Indexes indexes;
    bool everyTable = true;
    for (const QString& folder : list.folders) {
        try {
            IndexFiles files = IndexFiles::open(folder);
            indexes.database.add_database(files.index);
            indexes.lexicons.push_back(std::move(files.lexicon));
            everyTable = everyTable && files.table;
            indexes.tables.push_back(std::move(files.table));
        } catch (const Xapian::Error& error) {
            throw IndexUnusable(QStringLiteral("the index %1 cannot be opened: %2")
                                    .arg(folder, fromUtf8(error.get_description()))
                                    .toStdString());
        } catch (const IndexFiles::Missing& missing) {
            throw IndexUnusable(missing.what());
        }
    }
    if (!everyTable) {
        // Read from the documents, which an index with a lexicon leaves without data.
        for (qsizetype i = 0; i < list.folders.size(); ++i) {
            if (indexes.lexicons[std::size_t(i)]) {
                throw IndexUnusable(QStringLiteral("the index %1 cannot be listed with an index "
                                                   "without a details table")
                                        .arg(list.folders[i])
                                        .toStdString());
            }
        }
        indexes.tables.clear();
    }
    return indexes;
}

Xapian::MSet XapianSearchRun::match(const Xapian::Database& database, const Xapian::Query& query) {
    Xapian::Enquire enquire(database);
    enquire.set_query(query);
    // The reader lists every document found and shows their number, so the
    // match runs to the end instead of stopping at a good-enough estimate.
    const Xapian::doccount all = database.get_doccount();
    AbortingDecider decider(abortWatch_);
    return enquire.get_mset(0, all, all, nullptr, &decider);
}

std::shared_ptr<XapianResultList> XapianSearchRun::collect(const Xapian::MSet& found,
                                                           const Indexes& indexes) {
    // A stop during the match leaves the documents taken until then, which
    // are the results so far; a stop from here on cuts the list where it is.
    const bool stoppedInMatch = abortWatch_.aborted();
    // No term lists are kept, so the hits of a document are not counted; its
    // relevance in percent stands in for them.
    if (indexes.tables.empty()) {  // an index made before the tables: read each document
        std::vector<IndexedDetails> documents;
        documents.reserve(found.size());
        for (auto it = found.begin(); it != found.end(); ++it) {
            if (!stoppedInMatch && abortWatch_.checkWhenDue()) break;
            documents.push_back(decodeDetails(it.get_document().get_data()));
            callbacks_.ReceiveFound(documents.back().title, it.get_percent());
        }
        return std::make_shared<XapianResultList>(std::move(documents));
    }
    // Several indexes interleave their document ids in the combined one.
    const auto count = Xapian::docid(indexes.tables.size());
    std::vector<XapianResultList::Row> rows;
    rows.reserve(found.size());
    for (auto it = found.begin(); it != found.end(); ++it) {
        if (!stoppedInMatch && abortWatch_.checkWhenDue()) break;
        const Xapian::docid combined = *it - 1;
        const XapianResultList::Row row{std::uint32_t(combined % count), combined / count + 1};
        const DetailsTable& table = *indexes.tables[row.table];
        if (row.docid > table.size()) continue;
        rows.push_back(row);
        callbacks_.ReceiveFound(table.title(row.docid), it.get_percent());
    }
    return std::make_shared<XapianResultList>(indexes.tables, std::move(rows));
}

}  // namespace lumera
