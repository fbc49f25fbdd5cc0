#pragma once

#include <QList>
#include <QString>

#include "host/Browser.h"
#include "host/PageHistory.h"
#include "navigation/Router.h"

namespace lumera {

// The pages the reader showed, for Back and Forward. Every article is shown
// as the same page file, whose address the browser's own history cannot tell
// apart, so an article is kept by its key and rebuilt from the database when
// stepped to; any other page is navigated to again, through the router. A
// redirect or restart of the router shows one page: one step.
class ReadingHistory : public PageHistory {
  public:
    ReadingHistory(Browser& browser, RouterActions& actions);

    // An article page was built from key: the next page file shown is it.
    void articleBuilt(const QString& key);
    // A navigation of the whole browser went on, to address.
    void shown(const QString& address);

    bool step(int direction) override;
    bool canStep(int direction) const override;

    // A reader's day holds far fewer steps; the oldest go first.
    static constexpr qsizetype kMostPages = 500;

  private:
    struct Page {
        QString address;
        QString articleKey;  // empty: not an article
        bool operator==(const Page&) const = default;
    };

    Browser& browser_;
    RouterActions& actions_;
    QList<Page> pages_;
    qsizetype at_ = -1;
    QString builtKey_;
    // A step is under way: the next page shown is the one stepped to.
    bool stepping_ = false;
};

}  // namespace lumera
