#include "ui/PageSearchField.h"

#include <QAction>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace lumera {
namespace {

// The pages label the field with a caption in another cell, which a screen
// reader does not tie to it.
const QString kNameScript = QStringLiteral(
    "for (const f of document.querySelectorAll('input[name=\"request\"]'))"
    "  if (!f.hasAttribute('aria-label')) f.setAttribute('aria-label', 'Procurar verbete');");

const QString kFocusScript = QStringLiteral(
    "(function () { const f = document.querySelector('input[name=\"request\"]');"
    "  if (!f) return false; f.focus(); f.select(); return true; })()");

}  // namespace

PageSearchField::PageSearchField(QWidget* window, QWebEngineView* view,
                                 std::function<void()> goHome)
    : view_(view), goHome_(std::move(goHome)) {
    QWebEngineScript naming;
    naming.setName(QStringLiteral("lumera-request-name"));
    naming.setSourceCode(kNameScript);
    naming.setInjectionPoint(QWebEngineScript::DocumentReady);
    naming.setRunsOnSubFrames(true);
    naming.setWorldId(QWebEngineScript::ApplicationWorld);
    view->page()->scripts().insert(naming);

    auto* action = new QAction(window);
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_F6)});
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, &PageSearchField::reach);
    window->addAction(action);
    connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (!awaitingHome_ || !ok) return;
        awaitingHome_ = false;
        focus(false);
    });
}

void PageSearchField::reach() { focus(true); }

void PageSearchField::focus(bool orGoHome) {
    view_->setFocus(Qt::ShortcutFocusReason);
    view_->page()->runJavaScript(kFocusScript, [this, orGoHome](const QVariant& found) {
        if (found.toBool() || !orGoHome) return;
        awaitingHome_ = true;
        goHome_();
    });
}

}  // namespace lumera
