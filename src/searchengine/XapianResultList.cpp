#include "searchengine/XapianResultList.h"

namespace lumera {

XapianResultList::XapianResultList(std::vector<IndexedDetails> documents)
    : documents_(std::move(documents)) {}

XapianResultList::XapianResultList(std::vector<std::shared_ptr<const DetailsTable>> tables,
                                   std::vector<Row> rows)
    : tables_(std::move(tables)), rows_(std::move(rows)) {}

int XapianResultList::Count() const {
    return static_cast<int>(tables_.empty() ? documents_.size() : rows_.size());
}

void XapianResultList::GetNthDoc(int i) { current_ = (i >= 0 && i < Count()) ? i : -1; }

QString XapianResultList::DocDetailItem(const QString& name) const {
    if (current_ < 0) return QString();
    const bool title = name.compare(u"_shortname", Qt::CaseInsensitive) == 0;
    if (!title && name.compare(u"_filename", Qt::CaseInsensitive) != 0) return QString();
    const auto i = static_cast<std::size_t>(current_);
    if (tables_.empty()) return title ? documents_[i].title : documents_[i].path;
    const DetailsTable& table = *tables_[rows_[i].table];
    // A copy: the text must outlive the map.
    return (title ? table.title(rows_[i].docid) : table.path(rows_[i].docid)).toString();
}

}  // namespace lumera
