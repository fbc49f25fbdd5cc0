#pragma once

#include <QSet>
#include <QString>
#include <memory>
#include <vector>

#include "searchengine/IndexBuilder.h"
#include "searchengine/OrderedWorker.h"

namespace lumera {

// Builds an index on several cores. The records, in their order, are cut
// into consecutive runs, one a shard, each built by a thread of its own; the
// shards are then merged in order by Xapian's compaction, which numbers the
// documents of one shard after those of the one before. Document ids, and so
// the order of results, are those of a single build.
class ShardedIndexBuilder {
  public:
    // records: how many add() calls will come (the rows, counted first); a
    // wrong count only balances the shards worse. One shard is a plain build.
    // Throws IndexBuildError.
    ShardedIndexBuilder(const QString& databasePath, int shards, int records);
    ~ShardedIndexBuilder();
    ShardedIndexBuilder(const ShardedIndexBuilder&) = delete;
    ShardedIndexBuilder& operator=(const ShardedIndexBuilder&) = delete;

    // One shard per processor core.
    static int defaultShards();

    // Adds one document, in order. Returns false and adds nothing when a
    // record with the same key (letter case ignored) was added before.
    // Throws IndexBuildError, also for a failure of a shard's thread.
    bool add(const IndexRecord& record);
    // Waits for the shards and merges them; the index is complete only after this.
    void finish();
    int documentCount() const { return documentCount_; }

  private:
    struct Shard;
    void merge();

    QString databasePath_;
    int records_;
    std::vector<std::unique_ptr<Shard>> shards_;
    QSet<QString> keys_;
    int position_ = 0;
    int documentCount_ = 0;
};

}  // namespace lumera
