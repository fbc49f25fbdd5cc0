#include "ui/ReaderContextMenu.h"

#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

#include "host/PageHistory.h"
#include "ui/PageZoom.h"

namespace lumera {

ReaderContextMenu::ReaderContextMenu(QWebEngineView* view, PageZoom* zoom, PageHistory& history,
                                     std::function<void()> find, std::function<void()> print)
    : QObject(view),
      view_(view),
      zoom_(zoom),
      history_(history),
      find_(std::move(find)),
      print_(std::move(print)) {
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &ReaderContextMenu::show);
}

void ReaderContextMenu::show(const QPoint& at) {
    auto* menu = new QMenu(view_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The engine's actions, under the reader's own Portuguese names.
    const auto pageStep = [&](const QString& text, QWebEnginePage::WebAction step) {
        QAction* action =
            menu->addAction(text, view_, [this, step] { view_->triggerPageAction(step); });
        action->setEnabled(view_->pageAction(step)->isEnabled());
    };
    const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
    // In a field of the page (its search field) also what editing needs.
    const bool editable = request && request->isContentEditable();
    if (editable) pageStep(QStringLiteral("Recortar"), QWebEnginePage::Cut);
    pageStep(QStringLiteral("Copiar"), QWebEnginePage::Copy);
    if (editable) {
        pageStep(QStringLiteral("Colar"), QWebEnginePage::Paste);
        pageStep(QStringLiteral("Selecionar tudo"), QWebEnginePage::SelectAll);
    }
    if (request && request->linkUrl().isValid()) {
        pageStep(QStringLiteral("Copiar endereço do link"), QWebEnginePage::CopyLinkToClipboard);
    }
    menu->addSeparator();
    for (const auto& [text, direction] :
         {std::pair{QStringLiteral("Voltar"), -1}, std::pair{QStringLiteral("Avançar"), 1}}) {
        menu->addAction(text, this, [this, direction = direction] { history_.step(direction); })
            ->setEnabled(history_.canStep(direction));
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Procurar no texto…"), this, [this] { find_(); });
    menu->addAction(QStringLiteral("Imprimir…"), this, [this] { print_(); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Aumentar"), zoom_, &PageZoom::zoomIn);
    menu->addAction(QStringLiteral("Diminuir"), zoom_, &PageZoom::zoomOut);
    menu->addAction(QStringLiteral("Tamanho normal"), zoom_, &PageZoom::reset);
    const QList<QAction*> extras = extras_ ? extras_() : QList<QAction*>();
    if (!extras.isEmpty()) menu->addSeparator();
    for (QAction* extra : extras) {
        if (extra) {
            menu->addAction(extra);
        } else {
            menu->addSeparator();
        }
    }
    menu->popup(view_->mapToGlobal(at));
}

}  // namespace lumera
