#include "search/SearchWindowModel.h"

#include "host/WindowSystem.h"

namespace lumera {

SearchWindowModel::SearchWindowModel(WindowSystem& windows, QObject* parent)
    : QObject(parent), windows_(windows) {
    connect(&FoundList_, &QAbstractItemModel::modelReset, this, [this] { setFoundListIndex(-1); });
    connect(&Combo1_, &QAbstractItemModel::modelReset, this, [this] { setCombo1Index(-1); });
}

void SearchWindowModel::setText1(const QString& text) {
    if (text == Text1_) return;
    Text1_ = text;
    Q_EMIT Text1Changed(Text1_);
}

void SearchWindowModel::setLabel2(const QString& caption) {
    if (caption == Label2_) return;
    Label2_ = caption;
    Q_EMIT Label2Changed(Label2_);
}

void SearchWindowModel::setOtherSpellingsNote(const QString& note) {
    if (note == otherSpellingsNote_) return;
    otherSpellingsNote_ = note;
    Q_EMIT otherSpellingsNoteChanged(note);
}

void SearchWindowModel::setFoundListVisible(bool visible) {
    if (visible == FoundListVisible_) return;
    FoundListVisible_ = visible;
    Q_EMIT FoundListVisibleChanged(visible);
}

void SearchWindowModel::setFoundListIndex(int row) {
    if (row < -1 || row >= FoundList_.ListCount()) row = -1;
    if (row == FoundListIndex_) return;
    FoundListIndex_ = row;
    Q_EMIT FoundListIndexChanged(row);
}

void SearchWindowModel::setCombo1Index(int row) {
    if (row < -1 || row >= Combo1_.ListCount()) row = -1;
    if (row == Combo1Index_) return;
    Combo1Index_ = row;
    Q_EMIT Combo1IndexChanged(row);
}

void SearchWindowModel::ClearResultLists() {
    FoundList_.Clear();
    List1_.Clear();
    List2_.Clear();
}

void SearchWindowModel::ReceiveSearching(const QString&) {}
void SearchWindowModel::ReceiveFound(QStringView, std::int32_t) {}

std::int32_t SearchWindowModel::CheckForAbort() {
    windows_.ProcessPendingEvents();
    return 0;
}

}  // namespace lumera
