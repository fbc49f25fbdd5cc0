#include "reading/ReadingActions.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QTextStream>

#include "articles/Citation.h"
#include "reading/ReadingListsWindow.h"
#include "reading/ReadingSession.h"
#include "reading/ReadingSettingsDialog.h"
#include "reading/ReadingStore.h"
#include "reading/ReadingTheme.h"
#include "ui/ReaderMessageBox.h"

namespace lumera {

ReadingActions::ReadingActions(QWidget* window, ReadingSession& session, ReadingTheme& theme,
                               PageZoom& zoom)
    : QObject(window), window_(window), session_(session), theme_(theme), zoom_(zoom) {
    articleActions_ = {
        action(tr("Adicionar aos Favoritos…"), QKeySequence(Qt::CTRL | Qt::Key_D),
               &ReadingActions::askFavourite),
        action(tr("Copiar citação"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
               &ReadingActions::copyCitation),
    };
    QAction* dark =
        action(tr("Modo escuro"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), nullptr);
    dark->setCheckable(true);
    dark->setChecked(theme.isDark());
    connect(dark, &QAction::triggered, &theme, &ReadingTheme::toggle);
    connect(&theme, &ReadingTheme::changed, dark, &QAction::setChecked);
    readerActions_ = {
        action(tr("Favoritos…"), QKeySequence(Qt::CTRL | Qt::Key_B),
               &ReadingActions::showFavourites),
        action(tr("Histórico…"), QKeySequence(Qt::CTRL | Qt::Key_H), &ReadingActions::showHistory),
        dark,
        action(tr("Preferências…"), QKeySequence(Qt::CTRL | Qt::Key_Comma),
               &ReadingActions::showSettings),
    };
}

QAction* ReadingActions::action(const QString& text, const QKeySequence& key,
                                void (ReadingActions::*slot)()) {
    auto* action = new QAction(text, this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    if (slot) connect(action, &QAction::triggered, this, slot);
    window_->addAction(action);
    return action;
}

QList<QAction*> ReadingActions::contextActions() const {
    if (!session_.article().isArticle()) return {};
    return articleActions_ + QList<QAction*>{nullptr} + readerActions_;
}

bool ReadingActions::addFavourite(const QString& note) {
    const ShownArticle& article = session_.article();
    if (!article.isArticle() || !session_.store()) return false;
    try {
        session_.store()->addFavourite(article.key, article.title, note);
    } catch (const DatabaseError& error) {
        ShowWarning(window_, error.message());
        return false;
    }
    return true;
}

void ReadingActions::askFavourite() {
    if (!session_.article().isArticle()) return;
    bool ok = false;
    const QString note =
        QInputDialog::getText(window_, tr("Adicionar aos Favoritos"),
                              tr("\"%1\"\n\nNota (opcional):").arg(session_.article().title),
                              QLineEdit::Normal, QString(), &ok);
    if (ok) addFavourite(note.trimmed());
}

void ReadingActions::copyCitation() {
    if (!session_.article().isArticle()) return;
    QGuiApplication::clipboard()->setText(AbntCitation(session_.article().title));
}

ReadingListsWindow* ReadingActions::listsWindow() {
    if (!lists_) lists_ = new ReadingListsWindow(session_, window_);
    return lists_;
}

void ReadingActions::showFavourites() { listsWindow()->showTab(ReadingListsWindow::Favourites); }

void ReadingActions::showHistory() { listsWindow()->showTab(ReadingListsWindow::History); }

void ReadingActions::showSettings() {
    ReadingSettingsDialog dialog(zoom_, theme_, window_);
    dialog.exec();
}

}  // namespace lumera
