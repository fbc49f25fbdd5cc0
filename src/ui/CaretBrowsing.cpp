#include "ui/CaretBrowsing.h"

#include <QAction>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace lumera {
namespace {

// %1: true or false. Edits are refused before they happen (beforeinput), so
// typing, deleting, pasting or dropping never changes the page. The caret
// starts where the selection (a match found) begins, else at the title.
const QString kScript = QStringLiteral(
    "(function (on) { const b = document.body; if (!b) return;"
    "  if (!window.lumeraCaretGuard) { window.lumeraCaretGuard = true;"
    "    for (const type of ['beforeinput', 'drop', 'paste', 'cut'])"
    "      document.addEventListener(type, e => { if (b.isContentEditable) e.preventDefault(); },"
    "                                true); }"
    "  if (on) { b.contentEditable = 'true'; b.style.caretColor = 'black'; b.focus();"
    "    const s = window.getSelection();"
    "    if (s.rangeCount) s.collapseToStart(); else s.collapse(document.querySelector('h1') || b, "
    "0); }"
    "  else { b.removeAttribute('contenteditable'); b.style.caretColor = ''; }"
    "})(%1)");

}  // namespace

CaretBrowsing::CaretBrowsing(QWebEngineView* view) : QObject(view), view_(view) {
    auto* action = new QAction(view);
    action->setShortcut(QKeySequence(Qt::Key_F7));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, &CaretBrowsing::toggle);
    view->addAction(action);
    connect(view, &QWebEngineView::loadFinished, this, [this] {
        if (on_) apply();
    });
}

void CaretBrowsing::toggle() {
    on_ = !on_;
    apply();
}

void CaretBrowsing::apply() {
    view_->page()->runJavaScript(
        kScript.arg(on_ ? QStringLiteral("true") : QStringLiteral("false")));
}

}  // namespace lumera
