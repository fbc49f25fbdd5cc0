#include "platform/XapianSearchRun.h"

#include <exception>

#include "platform/XapianLog.h"
#include "platform/XapianQueryBuilder.h"
#include "platform/XapianTextFolding.h"

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

AbortWatch::AbortWatch(SearchCallbacks* callbacks) : callbacks_(callbacks) {
    sinceLastCheck_.start();
}

bool AbortWatch::check() {
    if (!aborted_ && callbacks_) aborted_ = callbacks_->CheckForAbort() != 0;
    sinceLastCheck_.restart();
    return aborted_;
}

bool AbortWatch::checkWhenDue() {
    return sinceLastCheck_.elapsed() >= kIntervalMs ? check() : aborted_;
}

XapianSearchRun::XapianSearchRun(SearchCallbacks* callbacks, ProgramPathResolver resolveProgramPath)
    : callbacks_(callbacks),
      resolveProgramPath_(std::move(resolveProgramPath)),
      abortWatch_(callbacks) {}

std::vector<IndexedDetails> XapianSearchRun::run(const QString& request, const QString& listFile) {
    failure_.clear();
    if (callbacks_) callbacks_->ReceiveSearching(request);
    if (abortWatch_.check()) return {};
    try {
        const Xapian::Database database = openIndexes(listFile);
        XapianQueryBuilder queryBuilder(database);
        const Xapian::Query query = queryBuilder.build(request);
        if (query.empty()) return {};
        return collect(match(database, query));
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
    return {};
}

Xapian::Database XapianSearchRun::openIndexes(const QString& listFile) const {
    if (listFile.isEmpty()) throw IndexUnusable("no index folder was given");
    const QString localListFile = resolveProgramPath_ ? resolveProgramPath_(listFile) : listFile;
    if (localListFile.isEmpty()) {
        throw IndexUnusable(
            QStringLiteral("the index list %1 was not found").arg(listFile).toStdString());
    }
    const IndexListReading list = readIndexList(localListFile, resolveProgramPath_);
    if (!list.error.isEmpty()) throw IndexUnusable(list.error.toStdString());
    Xapian::Database combined;
    for (const QString& folder : list.folders) {
        try {
            combined.add_database(Xapian::Database(toUtf8(folder)));
        } catch (const Xapian::Error& error) {
            throw IndexUnusable(QStringLiteral("the index %1 cannot be opened: %2")
                                    .arg(folder, fromUtf8(error.get_description()))
                                    .toStdString());
        }
    }
    return combined;
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

std::vector<IndexedDetails> XapianSearchRun::collect(const Xapian::MSet& found) {
    std::vector<IndexedDetails> documents;
    documents.reserve(found.size());
    // A stop during the match leaves the documents taken until then, which
    // are the results so far; a stop from here on cuts the list where it is.
    const bool stoppedInMatch = abortWatch_.aborted();
    for (auto it = found.begin(); it != found.end(); ++it) {
        if (!stoppedInMatch && abortWatch_.checkWhenDue()) break;
        documents.push_back(decodeDetails(it.get_document().get_data()));
        // No term lists are kept, so the hits of a document are not counted;
        // its relevance in percent stands in for them.
        if (callbacks_) callbacks_->ReceiveFound(documents.back().title, it.get_percent());
    }
    return documents;
}

}  // namespace lumera
