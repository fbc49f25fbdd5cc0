#include "search/ListControl.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace lumera {
namespace {

bool before(const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; }

}  // namespace

ListControl::ListControl(Order order, QObject* parent)
    : QAbstractListModel(parent), order_(order), collator_(QLocale(QStringLiteral("pt_BR"))) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void ListControl::AddItem(const QString& text, int itemData) {
    int row = ListCount();
    if (sorted()) {
        QCollatorSortKey key = collator_.sortKey(text);
        const auto position = std::upper_bound(keys_.begin(), keys_.end(), key, before);
        row = static_cast<int>(std::distance(keys_.begin(), position));
        beginInsertRows(QModelIndex(), row, row);
        keys_.insert(position, std::move(key));
    } else {
        beginInsertRows(QModelIndex(), row, row);
    }
    entries_.insert(entries_.begin() + row, ListEntry{text, itemData});
    endInsertRows();
}

void ListControl::AddItems(std::vector<ListEntry> entries) {
    if (entries.empty()) return;
    if (sorted()) {
        mergeSorted(std::move(entries));
    } else {
        appendInOrder(std::move(entries));
    }
}

void ListControl::appendInOrder(std::vector<ListEntry> entries) {
    const int first = ListCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    entries_.reserve(entries_.size() + entries.size());
    std::move(entries.begin(), entries.end(), std::back_inserter(entries_));
    endInsertRows();
}

void ListControl::mergeSorted(std::vector<ListEntry> entries) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const ListEntry& entry : entries) keys.push_back(collator_.sortKey(entry.text));
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return before(keys[a], keys[b]); });

    // Among equal entries, those already listed stay first.
    const std::size_t total = entries_.size() + entries.size();
    std::vector<ListEntry> mergedEntries;
    std::vector<QCollatorSortKey> mergedKeys;
    mergedEntries.reserve(total);
    mergedKeys.reserve(total);
    std::size_t old = 0;
    auto added = order.begin();
    while (mergedEntries.size() < total) {
        const bool takeOld =
            added == order.end() || (old < entries_.size() && !before(keys[*added], keys_[old]));
        if (takeOld) {
            mergedEntries.push_back(std::move(entries_[old]));
            mergedKeys.push_back(keys_[old]);
            ++old;
        } else {
            mergedEntries.push_back(std::move(entries[*added]));
            mergedKeys.push_back(keys[*added]);
            ++added;
        }
    }
    beginResetModel();
    entries_.swap(mergedEntries);
    keys_.swap(mergedKeys);
    endResetModel();
}

void ListControl::Clear() {
    beginResetModel();
    entries_.clear();
    keys_.clear();
    endResetModel();
}

int ListControl::findText(const QString& text) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&text](const ListEntry& entry) { return entry.text == text; });
    return found == entries_.end() ? -1 : static_cast<int>(std::distance(entries_.begin(), found));
}

int ListControl::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ListCount();
}

QVariant ListControl::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ListCount()) return {};
    const ListEntry& item = entry(index.row());
    if (role == Qt::DisplayRole) return item.text;
    if (role == kItemDataRole) return item.ItemData;
    return {};
}

}  // namespace lumera
