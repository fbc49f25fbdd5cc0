#include "searchengine/ShardedIndexBuilder.h"

#include <QDir>
#include <QThread>
#include <algorithm>

#include "searchengine/XapianDetailsTable.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {

struct ShardedIndexBuilder::Shard {
    Shard(const QString& shardPath, bool threaded)
        : path(shardPath), builder(std::make_unique<IndexBuilder>(shardPath)) {
        // Records wait for the shard's thread; bounded, as a record holds a
        // whole article.
        constexpr std::size_t kMaxQueued = 32;
        if (threaded) {
            worker = std::make_unique<OrderedWorker<IndexRecord>>(
                [this](IndexRecord& record) { builder->add(record); }, kMaxQueued);
        }
    }
    void add(IndexRecord record) {
        if (worker) {
            worker->put(std::move(record));
        } else {
            builder->add(record);
        }
    }

    QString path;
    std::unique_ptr<IndexBuilder> builder;
    std::unique_ptr<OrderedWorker<IndexRecord>> worker;
};

ShardedIndexBuilder::ShardedIndexBuilder(const QString& databasePath, int shards, int records)
    : databasePath_(databasePath), records_(std::max(1, records)) {
    const int count = std::clamp(shards, 1, std::max(1, records));
    if (count == 1) {
        shards_.push_back(std::make_unique<Shard>(databasePath, false));
        return;
    }
    for (int i = 0; i < count; ++i) {
        shards_.push_back(
            std::make_unique<Shard>(databasePath + QStringLiteral(".shard%1").arg(i), true));
    }
}

ShardedIndexBuilder::~ShardedIndexBuilder() {
    if (shards_.size() == 1) return;  // built in place
    std::vector<QString> paths;
    for (const auto& shard : shards_) paths.push_back(shard->path);
    shards_.clear();  // stops the threads before their folders go
    for (const QString& path : paths) QDir(path).removeRecursively();
}

int ShardedIndexBuilder::defaultShards() { return std::max(1, QThread::idealThreadCount()); }

bool ShardedIndexBuilder::add(const IndexRecord& record) {
    const auto shard = std::min<std::size_t>(
        shards_.size() - 1, std::size_t(qint64(position_++) * qint64(shards_.size()) / records_));
    const QString key = record.key.toLower();
    if (keys_.contains(key)) return false;
    keys_.insert(key);
    try {
        shards_[shard]->add(record);
    } catch (const IndexBuildError&) {
        throw;
    } catch (const std::exception& error) {
        throw IndexBuildError(error.what());
    }
    ++documentCount_;
    return true;
}

void ShardedIndexBuilder::finish() {
    if (shards_.size() == 1) {
        shards_.front()->builder->finish();
        return;
    }
    try {
        for (const auto& shard : shards_) {
            shard->worker->finish();
            shard->builder->finishShard();
        }
        merge();
    } catch (const IndexBuildError&) {
        throw;
    } catch (const Xapian::Error& error) {
        throw IndexBuildError(error.get_description());
    } catch (const std::exception& error) {
        throw IndexBuildError(error.what());
    }
}

void ShardedIndexBuilder::merge() {
    Xapian::Database all;
    std::vector<IndexedDetails> details;
    details.reserve(std::size_t(documentCount_));
    for (const auto& shard : shards_) {
        all.add_database(Xapian::Database(toUtf8(shard->path)));
        const std::vector<IndexedDetails>& own = shard->builder->details();
        details.insert(details.end(), own.begin(), own.end());
    }
    QDir(databasePath_).removeRecursively();
    // Renumbered one shard after the other, as a single build numbers them.
    all.compact(toUtf8(databasePath_));
    DetailsTable::write(databasePath_, details);
}

}  // namespace lumera
