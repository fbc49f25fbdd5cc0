#include "navigation/ReadingHistory.h"

#include <QRegularExpression>

namespace lumera {
namespace {

// The one page file every article is shown as.
bool isArticlePage(const QString& address) {
    return address.endsWith(QStringLiteral("vf.htm"), Qt::CaseInsensitive);
}

// A page or a picture the browser shows; a film or a sound goes to the
// desktop's player, and stepping to it would only start the player again.
bool isShownInTheBrowser(const QString& address) {
    static const QRegularExpression shown(
        QStringLiteral("\\.(html?|txt|jpe?g|gif|png|bmp)([?#].*)?$|^[^.]*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name =
        address.mid(address.lastIndexOf(QRegularExpression(QStringLiteral("[\\\\/]"))) + 1);
    return shown.match(name).hasMatch();
}

}  // namespace

ReadingHistory::ReadingHistory(Browser& browser, RouterActions& actions)
    : browser_(browser), actions_(actions) {}

void ReadingHistory::articleBuilt(const QString& key) { builtKey_ = key; }

void ReadingHistory::shown(const QString& address) {
    if (!isShownInTheBrowser(address)) return;
    Page page{address, isArticlePage(address) ? builtKey_ : QString()};
    if (stepping_) {
        stepping_ = false;
        pages_[at_] = page;
        return;
    }
    if (at_ >= 0 && pages_[at_] == page) return;
    pages_.resize(at_ + 1);
    pages_.append(page);
    if (pages_.size() > kMostPages) pages_.removeFirst();
    at_ = pages_.size() - 1;
}

bool ReadingHistory::canStep(int direction) const {
    const qsizetype to = at_ + direction;
    return to >= 0 && to < pages_.size();
}

bool ReadingHistory::step(int direction) {
    if (!canStep(direction)) return false;
    at_ += direction;
    const Page page = pages_[at_];
    stepping_ = true;
    if (page.articleKey.isEmpty()) {
        browser_.Navigate(page.address);
        return true;
    }
    QString key = page.articleKey;
    // An article gone from the database since leaves nothing to show.
    if (actions_.BuildArticlePage(key) == ArticleRequest::NoArticle) stepping_ = false;
    return true;
}

}  // namespace lumera
