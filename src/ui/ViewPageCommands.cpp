#include "ui/ViewPageCommands.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "browser/WebEngineBrowser.h"
#include "ui/FindBar.h"

namespace lumera {

ViewPageCommands::ViewPageCommands(WebEngineBrowser& browser, FindBar* findBar)
    : QObject(findBar), browser_(browser), findBar_(findBar) {
    connect(browser_.view(), &QWebEngineView::printFinished, this, [this] { printer_.reset(); });
}

ViewPageCommands::~ViewPageCommands() = default;

void ViewPageCommands::SaveAs() {
    QWebEngineView* view = browser_.view();
    const QString title = view->page()->title();
    QString selected;
    const QString name = QFileDialog::getSaveFileName(
        view, tr("Gravar Página"), title.isEmpty() ? QStringLiteral("pagina") : title,
        tr("Página completa, com imagens (*.mht);;Somente HTML (*.htm *.html);;"
           "Documento PDF, como impresso em A4 (*.pdf)"),
        &selected);
    if (name.isEmpty()) return;
    QString fileName = name;
    if (!fileName.contains(u'.')) {
        fileName += selected.contains(u"mht")   ? u".mht"_qs
                    : selected.contains(u"pdf") ? u".pdf"_qs
                                                : u".htm"_qs;
    }
    browser_.savePageTo(fileName);
}

void ViewPageCommands::Copy() { browser_.view()->page()->triggerAction(QWebEnginePage::Copy); }

void ViewPageCommands::Print() {
    if (printer_) return;  // a print job is still running
    QWebEngineView* view = browser_.view();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), view);
    dialog.setWindowTitle(tr("Imprimir"));
    if (dialog.exec() != QDialog::Accepted) return;
    printer_ = std::move(printer);
    view->print(printer_.get());
}

void ViewPageCommands::Find() { findBar_->open(); }

}  // namespace lumera
