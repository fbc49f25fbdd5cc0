#pragma once

#include <xapian.h>

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <vector>

#include "host/SearchEngine.h"
#include "searchengine/XapianDocumentFormat.h"
#include "searchengine/XapianIndexList.h"
#include "searchengine/XapianLexiconPrefixes.h"
#include "searchengine/XapianResultList.h"

namespace lumera {

// Asks the caller whether to stop, often enough to keep its window responsive
// but not after every document.
class AbortWatch {
  public:
    explicit AbortWatch(SearchCallbacks& callbacks);
    // Asks now.
    bool check();
    // Asks when the last question is a while ago.
    bool checkWhenDue();
    bool aborted() const { return aborted_; }

    // Below the 50 ms a window may wait, with room for the work between looks.
    static constexpr qint64 kIntervalMs = 20;

  private:
    SearchCallbacks& callbacks_;
    QElapsedTimer sinceLastCheck_;
    bool aborted_ = false;
};

// One synchronous search over the indexes a list file names, reporting to the
// callbacks on the caller's thread. Every failure ends in an empty result, a
// line in the lumera.search log and, when the indexes could not be searched,
// a message for the reader in failure(); nothing is thrown.
class XapianSearchRun {
  public:
    XapianSearchRun(SearchCallbacks& callbacks, ProgramPathResolver resolveProgramPath);
    std::shared_ptr<XapianResultList> run(const QString& request, const QString& localListFile);
    // Empty unless the last run could not search its indexes.
    const QString& failure() const { return failure_; }
    // The spellings the last run searched besides the typed ones.
    const QStringList& otherSpellings() const { return otherSpellings_; }

  private:
    struct Indexes {
        Xapian::Database database;
        // One for each index, in the list's order; empty unless every one has its table.
        std::vector<std::shared_ptr<const DetailsTable>> tables;
        // One for each index, in the list's order.
        WordLexicons lexicons;
    };
    Indexes openIndexes(const QString& localListFile) const;
    Xapian::MSet match(const Xapian::Database& database, const Xapian::Query& query);
    std::shared_ptr<XapianResultList> collect(const Xapian::MSet& found, const Indexes& indexes);

    SearchCallbacks& callbacks_;
    ProgramPathResolver resolveProgramPath_;
    AbortWatch abortWatch_;
    QString failure_;
    QStringList otherSpellings_;
};

}  // namespace lumera
