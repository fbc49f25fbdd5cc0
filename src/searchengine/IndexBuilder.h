#pragma once

#include <xapian.h>

#include <QSet>
#include <QString>
#include <memory>
#include <vector>

#include "searchengine/IndexBuildOptions.h"
#include "searchengine/XapianDocumentFormat.h"

namespace lumera {

class IndexPipeline;

// One article as the index records it.
struct IndexRecord {
    QString key;     // article key (Arquivo), the page file name
    QString title;   // the title its page shows
    QString html;    // the article text
    QString folder;  // content folder of its page, e.g. tomo98a
};

// Writes a new full-text index of articles (each made a document by a
// DocumentPreparer). The records may come in slices, consecutive runs of
// them, each built side by side into a database of its own (IndexPipeline)
// and fed by a thread of its own; finish() merges them in order, so the
// document ids are those of a build of one slice.
class IndexBuilder {
  public:
    using Options = IndexBuildOptions;

    // Creates the index at databasePath, replacing one that is there.
    // Throws IndexBuildError.
    explicit IndexBuilder(const QString& databasePath, Options options);
    explicit IndexBuilder(const QString& databasePath) : IndexBuilder(databasePath, Options()) {}
    ~IndexBuilder();
    IndexBuilder(const IndexBuilder&) = delete;
    IndexBuilder& operator=(const IndexBuilder&) = delete;

    // One slice per processor core: each adds its documents to Xapian on a
    // thread of its own, which was the one busy thread of a build of one.
    // At most kMaxDefaultSlices: each slice holds the edition's vocabulary, and
    // the merged index grows with their number (its postings by three fifths
    // from 1 to 10 slices on 10,000 generated articles).
    static int defaultSlices();
    static constexpr int kMaxDefaultSlices = 4;

    // Adds one document to slice 0. Returns false and adds nothing when a
    // record with the same key (letter case ignored) was added before.
    // Throws IndexBuildError, also for a failure of one of the threads.
    bool add(const IndexRecord& record) { return add(0, record); }
    // The same for a slice: slices may be fed at the same time, each from one
    // thread. A slice sees the keys of its own records only; records that
    // repeat a key of an earlier slice are the caller's to leave out.
    bool add(int slice, const IndexRecord& record);
    int slices() const { return int(slices_.size()); }
    // Waits for the threads, merges the slices and writes the synonyms and the
    // tables beside the index; the index is complete only after this.
    void finish();
    int documentCount() const;

  private:
    struct Slice;
    void writeSynonymsAndMarks();
    void merge() const;
    void removeSlices() const;

    QString databasePath_;
    Options options_;
    // Holds the synonyms and the marks; merged last, after the documents.
    Xapian::WritableDatabase database_;
    std::vector<std::unique_ptr<Slice>> slices_;
};

}  // namespace lumera
