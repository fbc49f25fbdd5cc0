#include "ui/FindBar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace lumera {

FindBar::FindBar(QWebEnginePage* page, QWidget* parent)
    : QWidget(parent), page_(page), edit_(new QLineEdit(this)), status_(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(tr("Procurar:"), this));
    layout->addWidget(edit_, 1);
    auto* previous = new QPushButton(tr("&Anterior"), this);
    auto* next = new QPushButton(tr("Pró&ximo"), this);
    auto* closeButton = new QPushButton(tr("Fechar"), this);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(status_);
    layout->addWidget(closeButton);
    edit_->setObjectName(QStringLiteral("findText"));
    edit_->setAccessibleName(tr("Texto a procurar na página"));
    previous->setAccessibleName(tr("Ocorrência anterior"));
    next->setAccessibleName(tr("Próxima ocorrência"));
    closeButton->setAccessibleName(tr("Fechar a procura no texto"));
    status_->setAccessibleName(tr("Ocorrências encontradas"));
    setAccessibleName(tr("Procurar no texto"));

    connect(edit_, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(edit_, &QLineEdit::returnPressed, this, [this] { find(false); });
    connect(next, &QPushButton::clicked, this, [this] { find(false); });
    connect(previous, &QPushButton::clicked, this, [this] { find(true); });
    connect(closeButton, &QPushButton::clicked, this, &FindBar::close);
    connect(page_, &QWebEnginePage::findTextFinished, this,
            [this](const QWebEngineFindTextResult& result) {
                if (edit_->text().isEmpty()) {
                    status_->clear();
                } else if (result.numberOfMatches() == 0) {
                    status_->setText(tr("Nenhuma ocorrência"));
                } else {
                    status_->setText(
                        tr("%1 de %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
                }
            });
    // A new page has neither the marks nor the matches the status counted.
    connect(page_, &QWebEnginePage::loadStarted, status_, &QLabel::clear);
    hide();
}

void FindBar::open() {
    show();
    edit_->setFocus();
    edit_->selectAll();
}

void FindBar::close() {
    page_->findText(QString());
    status_->clear();
    // The keyboard goes back to the page it was searching.
    QWebEngineView* view = QWebEngineView::forPage(page_);
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    if (hadFocus && view) view->setFocus(Qt::OtherFocusReason);
}

QString FindBar::statusText() const { return status_->text(); }

void FindBar::showStatus(const QString& status) {
    show();
    status_->setText(status);
}

void FindBar::findAgain(bool backward) {
    if (!edit_->text().isEmpty()) find(backward);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        find(true);
        return;
    }
    QWidget::keyPressEvent(event);
}

void FindBar::find(bool backward) {
    page_->findText(edit_->text(),
                    backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

}  // namespace lumera
