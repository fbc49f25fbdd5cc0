#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace lumera {

class JetFile;

// A Jet 4 index on one text column in the General sort order, searched for
// the rows whose key may fold to a given key: every entry that starts with
// the key's codes (see JetSortOrder.h), found by descending the index's
// tree from its first page. The caller keeps the rows whose key matches.
// Every page is checked before it is believed; an index that breaks its own
// structure is given up, and the rows are read another way.
class JetTextIndex {
  public:
    // owner: the table's definition page, which every page of its indexes names.
    JetTextIndex(const JetFile& file, quint32 owner, quint32 root);

    // The rows' locations, ascending (stored order), or nothing when the
    // index cannot answer for this key: a key it cannot encode, more
    // candidates than reading the rows one by one is worth, or a damaged index.
    std::optional<std::vector<quint32>> locations(const QString& foldedKey) const;

  private:
    struct Entry {
        QByteArray key;
        quint32 location = 0;
        quint32 child = 0;  // intermediate pages only
    };
    struct Page {
        bool leaf = false;
        quint32 next = 0;
        quint32 tail = 0;
        std::vector<Entry> entries;
    };

    // Pages read for one key: its spellings descend through the same pages.
    using Pages = std::map<quint32, std::optional<Page>>;

    std::optional<Page> read(quint32 number) const;
    const std::optional<Page>& page(quint32 number, Pages& pages) const;
    // Adds the locations of the entries that start with prefix; false when
    // the index breaks its structure or gives too many.
    bool collect(const QByteArray& prefix, Pages& pages, std::vector<quint32>& found) const;

    const JetFile& file_;
    quint32 owner_;
    quint32 root_;
};

}  // namespace lumera
