#pragma once

#include <xapian.h>

#include <QString>
#include <memory>
#include <vector>

#include "searchengine/IndexBuildOptions.h"
#include "searchengine/OrderedHandoff.h"
#include "searchengine/OrderedWorker.h"
#include "searchengine/XapianDocumentPreparer.h"

namespace lumera {

// The threads that build one slice of an index, a database of its own: the
// preparers turn records into documents side by side, the writer adds them
// to the database in the order of their records. A failure of any thread is
// thrown by a later add() or finish().
class IndexPipeline {
  public:
    // Creates the database at path. Throws Xapian::Error.
    IndexPipeline(const QString& path, const IndexBuildOptions& options);
    ~IndexPipeline();
    IndexPipeline(const IndexPipeline&) = delete;
    IndexPipeline& operator=(const IndexPipeline&) = delete;

    // number: the record's place in the slice, from 0.
    void add(std::size_t number, const IndexedDetails& details, const QString& html);
    // Waits until every document is in the database, and commits it.
    void finish();
    const std::vector<std::unique_ptr<DocumentPreparer>>& preparers() const { return documents_; }

  private:
    using DocumentPointer = std::unique_ptr<Xapian::Document>;
    struct Job {
        std::size_t number;
        IndexedDetails details;
        QString html;
    };

    Xapian::WritableDatabase database_;
    OrderedWorker<DocumentPointer> writer_;
    OrderedHandoff<DocumentPointer> handoff_;
    std::vector<std::unique_ptr<DocumentPreparer>> documents_;
    std::vector<std::unique_ptr<OrderedWorker<Job>>> preparers_;
};

}  // namespace lumera
