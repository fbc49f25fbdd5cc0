#include "ui/SearchWordKeys.h"

#include <QAction>
#include <QWidget>

#include "browser/SearchHighlight.h"
#include "ui/FindBar.h"

namespace lumera {

SearchWordKeys::SearchWordKeys(SearchHighlight* highlight, FindBar* bar, QWidget* keysOn)
    : QObject(keysOn), highlight_(highlight) {
    const auto key = [&](const QKeySequence& keys, bool backward) {
        auto* action = new QAction(keysOn);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, backward] {
            if (highlight_) highlight_->step(backward);
        });
        keysOn->addAction(action);
    };
    key(QKeySequence(Qt::Key_F3), false);
    key(QKeySequence(Qt::SHIFT | Qt::Key_F3), true);
    connect(highlight, &SearchHighlight::stepped, bar, [highlight, bar](int at) {
        const int count = highlight->count();
        bar->showStatus(
            (count == 1 ? tr("%1 de %2 palavra pesquisada") : tr("%1 de %2 palavras pesquisadas"))
                .arg(at)
                .arg(count));
    });
    connect(highlight, &SearchHighlight::nothingToStep, bar, &FindBar::findAgain);
}

}  // namespace lumera
