#pragma once

#include <QObject>
#include <QString>

#include "host/SearchEngine.h"
#include "search/ListControl.h"
#include "search/SearchDriver.h"

namespace lumera {

class WindowSystem;

// The loaded search window dtsearch without its widgets: its lists, its
// texts and its choices. It is the engine's callback object during a run.
// A view shows it and follows its signals; discarding it unloads the window.
class SearchWindowModel : public QObject, public SearchCallbacks {
    Q_OBJECT
  public:
    explicit SearchWindowModel(WindowSystem& windows, QObject* parent = nullptr);

    ListControl& FoundList() { return FoundList_; }
    ListControl& List1() { return List1_; }
    ListControl& List2() { return List2_; }
    ListControl& Combo1() { return Combo1_; }
    const ListControl& FoundList() const { return FoundList_; }
    const ListControl& List1() const { return List1_; }
    const ListControl& List2() const { return List2_; }
    const ListControl& Combo1() const { return Combo1_; }
    ResultLists resultLists() { return {FoundList_, List1_, List2_}; }

    QString Text1() const { return Text1_; }
    void setText1(const QString& text);
    QString Label2() const { return Label2_; }
    void setLabel2(const QString& caption);
    // "também procurado: ação" under the list, when the search looked for a
    // word in a spelling other than the one typed; empty otherwise.
    QString otherSpellingsNote() const { return otherSpellingsNote_; }
    void setOtherSpellingsNote(const QString& note);
    bool FoundListVisible() const { return FoundListVisible_; }
    void setFoundListVisible(bool visible);
    // The chosen entries (ListIndex); -1 for none. Clearing a list clears its choice.
    int FoundListIndex() const { return FoundListIndex_; }
    void setFoundListIndex(int row);
    int Combo1Index() const { return Combo1Index_; }
    void setCombo1Index(int row);

    // Clears FoundList, List1 and List2, in this order.
    void ClearResultLists();

    // SearchCallbacks: the window serves the engine during a run.
    void ReceiveSearching(const QString& what) override;
    void ReceiveFound(QStringView what, std::int32_t hitCount) override;
    std::int32_t CheckForAbort() override;

  Q_SIGNALS:
    void Text1Changed(const QString& text);
    void Label2Changed(const QString& caption);
    void otherSpellingsNoteChanged(const QString& note);
    void FoundListVisibleChanged(bool visible);
    void FoundListIndexChanged(int row);
    void Combo1IndexChanged(int row);

  private:
    WindowSystem& windows_;
    ListControl FoundList_{ListControl::Order::Sorted};
    ListControl List1_{ListControl::Order::Added};
    ListControl List2_{ListControl::Order::Sorted};
    ListControl Combo1_{ListControl::Order::Added};
    QString Text1_;
    QString Label2_;
    QString otherSpellingsNote_;
    bool FoundListVisible_ = true;
    int FoundListIndex_ = -1;
    int Combo1Index_ = -1;
};

}  // namespace lumera
