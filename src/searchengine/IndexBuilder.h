#pragma once

#include <xapian.h>

#include <QSet>
#include <QString>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

#include "searchengine/XapianDocumentFormat.h"
#include "searchengine/XapianPortuguese.h"

namespace lumera {

// One article as the index records it.
struct IndexRecord {
    QString key;     // article key (Arquivo), the page file name
    QString title;   // the title its page shows
    QString html;    // the article text
    QString folder;  // content folder of its page, e.g. tomo98a
};

class IndexBuildError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes a new full-text index of articles. Every word is indexed under its
// Portuguese stem, taken from the accented word, with its position (phrases
// match stems), and as written, folded, without one (prefixes, numbers). Since a query typed
// without accents cannot know the accented stem, the stem of the folded word is indexed too where
// it differs, with the accented stem as its synonym.
class IndexBuilder {
  public:
    struct Options {
        // Documents per commit. Measured on 100,000 generated articles, small
        // batches build faster than large ones: the pending changes of a
        // large batch no longer fit the processor's caches.
        int commitEvery = 1000;
        // The stems of the folded spellings; off only to measure what they bring.
        bool foldedStems = true;
    };

    // Creates the index at databasePath, replacing one that is there.
    // Throws IndexBuildError.
    explicit IndexBuilder(const QString& databasePath, Options options);
    explicit IndexBuilder(const QString& databasePath) : IndexBuilder(databasePath, Options()) {}
    ~IndexBuilder();
    IndexBuilder(const IndexBuilder&) = delete;
    IndexBuilder& operator=(const IndexBuilder&) = delete;

    // Adds one document. Returns false and adds nothing when a record with the
    // same key (letter case ignored) was added before. Throws IndexBuildError.
    bool add(const IndexRecord& record);
    // Writes the synonyms and commits; the index is complete only after this.
    void finish();
    // The same for one shard of an index that ShardedIndexBuilder merges:
    // no compaction, no details table.
    void finishShard();
    int documentCount() const { return documentCount_; }
    // What each document shows, in document id order.
    const std::vector<IndexedDetails>& details() const { return details_; }

  private:
    class DocumentWriter;
    void addFoldedStems(Xapian::Document& document);
    void compactInPlace() const;

    QString databasePath_;
    Xapian::WritableDatabase database_;
    // Adds the documents on a thread of its own; only finish() uses
    // database_ on the caller's thread, after the writer is done.
    std::unique_ptr<DocumentWriter> writer_;
    Options options_;
    AccentedStems accentedStems_;
    WrittenWords writtenWords_;
    Xapian::TermGenerator termGenerator_;
    PortugueseStemmer stemmer_;
    std::map<std::string, std::set<std::string>> synonyms_;
    QSet<QString> keys_;
    // What each document shows, in document id order, for the details table.
    std::vector<IndexedDetails> details_;
    int documentCount_ = 0;
};

}  // namespace lumera
