#include "platform/XapianResultList.h"

namespace lumera {

XapianResultList::XapianResultList(std::vector<IndexedDetails> documents)
    : documents_(std::move(documents)) {}

int XapianResultList::Count() const { return static_cast<int>(documents_.size()); }

void XapianResultList::GetNthDoc(int i) { current_ = (i >= 0 && i < Count()) ? i : -1; }

QString XapianResultList::DocDetailItem(const QString& name) const {
    if (current_ < 0) return QString();
    const IndexedDetails& document = documents_[static_cast<std::size_t>(current_)];
    if (name.compare(u"_shortname", Qt::CaseInsensitive) == 0) return document.title;
    if (name.compare(u"_filename", Qt::CaseInsensitive) == 0) return document.path;
    return QString();
}

}  // namespace lumera
