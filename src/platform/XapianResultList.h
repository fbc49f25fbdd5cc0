#pragma once

#include <vector>

#include "host/SearchEngine.h"
#include "platform/XapianDocumentFormat.h"

namespace lumera {

// The documents of one run with the details copied out of the index, so the
// list stays readable whatever happens to the engine, the job or the index.
class XapianResultList : public ResultList {
  public:
    XapianResultList() = default;
    explicit XapianResultList(std::vector<IndexedDetails> documents);

    int Count() const override;
    // An index outside 0..Count()-1 leaves no current document.
    void GetNthDoc(int i) override;
    // "_shortname" and "_filename" (letter case ignored); empty for any other
    // name or without a current document.
    QString DocDetailItem(const QString& name) const override;

  private:
    std::vector<IndexedDetails> documents_;
    int current_ = -1;
};

}  // namespace lumera
