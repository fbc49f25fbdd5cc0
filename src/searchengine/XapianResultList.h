#pragma once

#include <xapian.h>

#include <memory>
#include <vector>

#include "host/SearchEngine.h"
#include "searchengine/XapianDetailsTable.h"
#include "searchengine/XapianDocumentFormat.h"

namespace lumera {

// The documents of one run. Their details are read from the indexes'
// details tables, which the list keeps mapped, or else copied out of the
// documents; either way the list stays readable whatever happens to the
// engine, the job or the index (a replaced table stays mapped until the
// list is gone).
class XapianResultList : public ResultList {
  public:
    // A document as the tables find it: which table, and its row there.
    struct Row {
        std::uint32_t table;
        Xapian::docid docid;
    };

    XapianResultList() = default;
    explicit XapianResultList(std::vector<IndexedDetails> documents);
    XapianResultList(std::vector<std::shared_ptr<const DetailsTable>> tables,
                     std::vector<Row> rows);

    int Count() const override;
    // An index outside 0..Count()-1 leaves no current document.
    void GetNthDoc(int i) override;
    // "_shortname" and "_filename" (letter case ignored); empty for any other
    // name or without a current document.
    QString DocDetailItem(const QString& name) const override;

  private:
    std::vector<IndexedDetails> documents_;
    std::vector<std::shared_ptr<const DetailsTable>> tables_;
    std::vector<Row> rows_;
    int current_ = -1;
};

}  // namespace lumera
