#include "ui/Form1.h"

#include <QScreen>
#include <QSettings>

#include <QCloseEvent>
#include <QMenuBar>

#include "app/Form1Controller.h"

namespace lumera {
namespace {

const QSize kClientSize(728, 534);
const QString kPlaceSetting = QStringLiteral("janela/principal");

}  // namespace

const QString Form1::kCaption = QStringLiteral("Lumera - Edição 2002 - Ondarel");

Form1::Form1(Form1Controller& controller, QWidget* browserWidget, QWidget* parent)
    : QMainWindow(parent),
      controller_(controller),
      client_(new QWidget(this)),
      browser_(browserWidget) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setWindowIcon(icon());

    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, QColor(0xE5, 0xEE, 0xFD));
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    browser_->setParent(client_);
    browser_->setObjectName(QStringLiteral("WebBrowser1"));
    browser_->setAccessibleName(tr("Navegador da enciclopédia"));
    client_->installEventFilter(this);

    addCommand("hom", tr("&Início"), &Form1Controller::hom_Click);
    addCommand("cp", tr("&Copiar"), &Form1Controller::cp_Click);
    // Ctrl+P and Ctrl+F, the keys the browser reacted to, wherever the focus is.
    addCommand("prn", tr("&Imprimir"), &Form1Controller::prn_Click, QKeySequence::Print);
    addCommand("pta", tr("&Procurar no Texto"), &Form1Controller::pta_Click, QKeySequence::Find);
    addCommand("gp", tr("&Gravar Página"), &Form1Controller::gp_Click);
    addCommand("sb", tr("&Sobre a Enciclopédia"), &Form1Controller::sb_Click);
    addCommand("Sa", tr("&Fechar"), &Form1Controller::Sa_Click);

    // 728 x 534 pixels of client area below the menu bar, at 100 % scale.
    resize(kClientSize + QSize(0, menuBar()->sizeHint().height()));
}

void Form1::keepPlace() const {
    QSettings settings;
    settings.setValue(kPlaceSetting, saveGeometry());
    settings.sync();  // the reader ends at once after Fechar
}

bool Form1::restorePlace() {
    return restoreGeometry(QSettings().value(kPlaceSetting).toByteArray());
}

void Form1::fitPages(double zoom) {
    if (isMaximized() || isFullScreen()) return;
    QSize needed = (QSizeF(kClientSize) * zoom).toSize() + QSize(0, menuBar()->sizeHint().height());
    if (const QScreen* shown = screen()) {
        needed =
            needed.boundedTo(shown->availableGeometry().size() - (frameGeometry().size() - size()));
    }
    // Never smaller than the user made it.
    if (const QSize fits = size().expandedTo(needed); fits != size()) resize(fits);
}

void Form1::addCommand(const char* name, const QString& caption, void (Form1Controller::*handler)(),
                       QKeySequence::StandardKey key) {
    QAction* action = menuBar()->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, handler] { (controller_.*handler)(); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_Resize() { browser_->setGeometry(BrowserGeometry(client_->size())); }

void Form1::closeEvent(QCloseEvent* event) {
    // Closing by the frame ends the program, as the close command does.
    event->accept();
    controller_.Sa_Click();
}

QIcon Form1::icon() { return QIcon(QStringLiteral(":/lumera/lumera.png")); }

}  // namespace lumera
