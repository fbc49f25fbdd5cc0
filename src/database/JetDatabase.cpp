#include "database/JetDatabase.h"

#include "database/JetFile.h"
#include "database/JetTextIndex.h"

#include <algorithm>
#include <vector>

namespace lumera {

bool JetDatabase::recognizes(const QByteArray& header) { return JetFile::recognizes(header); }

JetDatabase::JetDatabase(const QString& localPath, JetKeyLookups* lookups, bool searchIndexes)
    : path_(localPath),
      file_(std::make_unique<JetFile>(localPath)),
      lookups_(lookups),
      searchIndexes_(searchIndexes) {}

JetDatabase::~JetDatabase() = default;

JetFile& JetDatabase::file() {
    if (!file_) throw databaseerrors::closed(path_);
    return *file_;
}

std::shared_ptr<const JetKeyLookup> JetDatabase::lookup() {
    return lookups_ ? lookups_->lookupFor(file()) : nullptr;
}

void JetDatabase::forEachMatch(JetTableReader& reader, JetKeyLookup::Table table, int keyColumn,
                               const QString& foldedKey, const std::function<void()>& take) {
    // The file's own index first, then the lookup, then the walk.
    const quint32 root = lookups_ && searchIndexes_ ? reader.textIndexRoot(keyColumn) : 0;
    if (root) {
        const auto located =
            JetTextIndex(file(), reader.definitionPage(), root).locations(foldedKey);
        if (located) {
            takeAt(reader, *located, keyColumn, foldedKey, take);
            return;
        }
    }
    if (const auto keys = lookup()) {
        const std::vector<quint32> located = keys->locations(table, foldedKey);
        if (listedRowsAreThere(reader, located, keyColumn, foldedKey)) {
            takeAt(reader, located, keyColumn, foldedKey, take);
            return;
        }
        // Its checksum is right, but it is of other rows: the walk answers.
        lookups_->stale(file());
        reader.rewind();
    }
    while (reader.next()) {
        if (keymatch::matches(reader.value(keyColumn), foldedKey)) take();
    }
}

bool JetDatabase::listedRowsAreThere(JetTableReader& reader, const std::vector<quint32>& locations,
                                     int keyColumn, const QString& foldedKey) {
    return std::all_of(locations.begin(), locations.end(), [&](quint32 location) {
        return reader.moveTo(location) && JetKeyLookup::mayList(foldedKey, reader.value(keyColumn));
    });
}

void JetDatabase::takeAt(JetTableReader& reader, const std::vector<quint32>& locations,
                         int keyColumn, const QString& foldedKey,
                         const std::function<void()>& take) {
    for (const quint32 location : locations) {
        // The file's own index names rows of this very file: they must be there.
        if (!reader.moveTo(location)) throw file().damaged();
        if (keymatch::matches(reader.value(keyColumn), foldedKey)) take();
    }
}

std::unique_ptr<Recordset> JetDatabase::articleQuery(const QString& key) {
    JetTableReader reader(file(), articletables::kArticles);
    const int keyColumn = reader.requireColumn(articletables::kKey);
    TableRows found{reader.columns(), {}};
    forEachMatch(reader, JetKeyLookup::Table::Articles, keyColumn, keymatch::folded(key), [&] {
        StoredRow row;
        for (int i = 0; i < found.columns.size(); ++i) row.push_back(reader.value(i));
        found.rows.push_back(std::move(row));
    });
    return std::make_unique<RowRecordset>(std::move(found), path_, articletables::kArticles);
}

std::unique_ptr<Recordset> JetDatabase::mediaQuery(const QString& title) {
    JetTableReader reader(file(), articletables::kMedia);
    std::vector<int> selected;
    for (const QString& name : articletables::kMediaColumns) {
        selected.push_back(reader.requireColumn(name));
    }
    const int itemColumn = reader.requireColumn(articletables::kMediaItem);
    std::vector<StoredRow> rows;
    forEachMatch(reader, JetKeyLookup::Table::Media, itemColumn, keymatch::folded(title), [&] {
        StoredRow row;
        for (const int index : selected) row.push_back(reader.value(index));
        rows.push_back(std::move(row));
    });
    return std::make_unique<RowRecordset>(
        TableRows{articletables::kMediaColumns, distinctRows(std::move(rows))}, path_,
        articletables::kMedia);
}

void JetDatabase::close() { file_.reset(); }

quint64 JetDatabase::pagesRead() { return file().pagesRead(); }

void JetDatabase::forEachArticle(const std::function<bool(const ArticleRow&)>& visit) {
    JetTableReader reader(file(), articletables::kArticles);
    const int key = reader.requireColumn(articletables::kKey);
    const int title = reader.requireColumn(articletables::kTitle);
    const int text = reader.requireColumn(articletables::kText);
    const int volume = reader.findColumn(articletables::kVolume);
    while (reader.next()) {
        ArticleRow row{reader.value(key).value_or(QString()),
                       reader.value(title).value_or(QString()),
                       reader.value(text).value_or(QString()), std::nullopt};
        if (volume >= 0) row.tomo = reader.value(volume).value_or(QString());
        if (!visit(row)) return;
    }
}

TableRows JetDatabase::readTable(const QString& table) {
    JetTableReader reader(file(), table);
    TableRows rows{reader.columns(), {}};
    while (reader.next()) {
        StoredRow row;
        for (int i = 0; i < rows.columns.size(); ++i) row.push_back(reader.value(i));
        rows.rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace lumera
