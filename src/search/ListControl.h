#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <vector>

namespace lumera {

// One entry of a list or combo box: its text and its integer tag.
struct ListEntry {
    QString text;
    int ItemData = 0;

    bool operator==(const ListEntry&) const = default;
};

// A list box or combo box as the search window uses them: entries in the
// order added, or kept sorted the way a Portuguese reader expects (accents
// and letter case do not separate "Água" from the A's), each with its tag.
// Sorted entries that compare equal keep the order they were added in.
// Views show it through the model interface; ItemData is kItemDataRole.
class ListControl : public QAbstractListModel {
    Q_OBJECT
  public:
    enum class Order { Added, Sorted };
    static constexpr int kItemDataRole = Qt::UserRole;

    explicit ListControl(Order order, QObject* parent = nullptr);

    void AddItem(const QString& text, int itemData = 0);
    // Many entries at once, as if added one by one in this order, but sorted
    // once instead of at every entry.
    void AddItems(std::vector<ListEntry> entries);
    void Clear();

    int ListCount() const { return static_cast<int>(entries_.size()); }
    const ListEntry& entry(int row) const { return entries_.at(static_cast<std::size_t>(row)); }
    // The row of the first entry with exactly this text, or -1.
    int findText(const QString& text) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    bool sorted() const { return order_ == Order::Sorted; }
    void appendInOrder(std::vector<ListEntry> entries);
    void mergeSorted(std::vector<ListEntry> entries);

    Order order_;
    QCollator collator_;
    std::vector<ListEntry> entries_;
    // Sorted lists: the collation key of each entry. Keys cannot be moved,
    // only copied, so sorting works on positions and each key is copied once.
    std::vector<QCollatorSortKey> keys_;
};

}  // namespace lumera
