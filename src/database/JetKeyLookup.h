#pragma once

#include "database/JetFile.h"
#include "database/RowRecordset.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace lumera {

// Where the rows of each key lie in a Jet file: the folded DatabaseV.Arquivo
// and Fotos.Item of every row, as a hash, with the row's location, in stored
// order for each hash. A query reads only the rows of its key's hash and
// keeps those whose key matches, so a hash shared by two keys costs a row
// read and never a wrong row. Every row is listed, a NULL key under a hash
// of its own, so that a lookup lists as many rows as its tables hold.
class JetKeyLookup {
  public:
    enum class Table { Articles, Media };

    // What the first bytes of a lookup say: the file it was made of and the
    // rows of each table it lists, which fix its size.
    struct Header {
        JetFileStamp stamp;
        quint32 articles = 0;
        quint32 media = 0;
        qint64 fileSize() const;
    };
    static constexpr qsizetype kHeaderSize = 40;

    // Walks both tables once; throws DatabaseError as the walk does.
    static JetKeyLookup build(const JetFile& file, const JetFileStamp& stamp);
    // The header of a lookup of this format, or nothing.
    static std::optional<Header> header(const QByteArray& bytes);
    // The lookup written by toBytes, or nothing for bytes that are not one:
    // cut, changed (the checksum), or out of order.
    static std::optional<JetKeyLookup> fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    const JetFileStamp& stamp() const { return stamp_; }
    // The locations of the rows whose key may fold to foldedKey, ascending,
    // which is stored order.
    std::vector<quint32> locations(Table table, const QString& foldedKey) const;
    // Whether a row whose key is key may lie where foldedKey's rows are
    // listed: a row that may not tells a lookup that is not of the file.
    static bool mayList(const QString& foldedKey, const StoredText& key);
    qsizetype entryCount() const;

  private:
    struct Entry {
        quint32 hash;
        quint32 location;
        auto operator<=>(const Entry&) const = default;
    };
    using Entries = std::vector<Entry>;

    const Entries& entries(Table table) const;

    JetFileStamp stamp_;
    Entries articles_;
    Entries media_;
};

}  // namespace lumera
