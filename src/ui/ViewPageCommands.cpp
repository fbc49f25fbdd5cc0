#include "ui/ViewPageCommands.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "browser/WebEngineBrowser.h"
#include "ui/FindBar.h"
#include "ui/RememberedFolder.h"

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
    const RememberedFolder saved(QStringLiteral("gravar"));
    const QString name = QFileDialog::getSaveFileName(
        view, tr("Gravar Página"), saved.fileIn(title.isEmpty() ? QStringLiteral("pagina") : title),
        tr("Página completa, com imagens (*.mht);;Somente HTML (*.htm *.html);;"
           "Documento PDF, como impresso em A4 (*.pdf)"),
        &selected);
    if (name.isEmpty()) return;
    saved.remember(name);
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
    // Printed to a file, it goes where the user saves, not into the edition;
    // a printer stays the first choice where there is one.
    const RememberedFolder saved(QStringLiteral("gravar"));
    const QPrinter::OutputFormat format = printer->outputFormat();
    printer->setOutputFileName(saved.fileIn(QStringLiteral("impressao.pdf")));
    printer->setOutputFormat(format);
    QPrintDialog dialog(printer.get(), view);
    dialog.setWindowTitle(tr("Imprimir"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (printer->outputFormat() == QPrinter::PdfFormat) saved.remember(printer->outputFileName());
    printer_ = std::move(printer);
    view->print(printer_.get());
}

void ViewPageCommands::Find() { findBar_->open(); }

}  // namespace lumera
