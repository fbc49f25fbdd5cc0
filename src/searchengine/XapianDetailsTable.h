#pragma once

#include <xapian.h>

#include <QFile>
#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

#include "searchengine/XapianDocumentFormat.h"

namespace lumera {

// The title and path of every document of an index, by document id, in a
// file beside the index's own tables. A search lists every document it
// finds, and fetching and decoding each one's data took 1.2 µs a result;
// here a result is two offsets into a memory map.
class DetailsTable {
  public:
    static inline const QString kFileName = QStringLiteral("lumera-details");

    // Writes the table of the finished index in folder: details[i] is
    // document i + 1. Throws std::runtime_error.
    static void write(const QString& folder, const std::vector<IndexedDetails>& details);
    // The table of the index in folder; empty when there is none, or it is
    // damaged or belongs to another state of the index.
    static std::shared_ptr<const DetailsTable> open(const QString& folder,
                                                    const Xapian::Database& index);

    Xapian::doccount size() const { return count_; }
    // docid: 1 .. size().
    QStringView title(Xapian::docid docid) const { return text(2 * (docid - 1)); }
    QStringView path(Xapian::docid docid) const { return text(2 * (docid - 1) + 1); }

  private:
    DetailsTable() = default;
    QStringView text(std::size_t entry) const;

    QFile file_;
    const std::uint32_t* offsets_ = nullptr;  // 2 * count_ + 1, in UTF-16 units
    const char16_t* characters_ = nullptr;
    std::uint32_t characterCount_ = 0;
    Xapian::doccount count_ = 0;
};

}  // namespace lumera
