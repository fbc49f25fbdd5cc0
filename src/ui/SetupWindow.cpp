#include "ui/SetupWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumera {

SetupWindow::SetupWindow(const QStringList& media, bool sampleInstalled, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Lumera — instalar a enciclopédia"));
    auto* intro = new QLabel(QStringLiteral(
        "Para ler a enciclopédia, indique o CD da Lumera Edição 2002, uma cópia dele numa "
        "pasta ou a sua imagem de disco (ISO, BIN ou CUE). O CD não é alterado."));
    intro->setWordWrap(true);

    source_ = new QComboBox;
    source_->setEditable(true);
    source_->addItems(media);
    source_->lineEdit()->setPlaceholderText(QStringLiteral("Pasta ou imagem do CD"));
    source_->setMinimumWidth(420);
    source_->setAccessibleName(QStringLiteral("Pasta ou imagem do CD"));
    source_->view()->setAccessibleName(QStringLiteral("CDs encontrados"));
    source_->lineEdit()->setAccessibleName(source_->accessibleName());
    auto* folderButton = new QPushButton(QStringLiteral("Escolher &pasta…"));
    auto* imageButton = new QPushButton(QStringLiteral("Escolher &imagem…"));
    windowsFolder_ = new QLineEdit;
    windowsFolder_->setPlaceholderText(QStringLiteral("Só se o CD não tiver o lex.mdb"));
    windowsFolder_->setAccessibleName(QStringLiteral("Pasta da instalação do Windows"));
    windowsFolder_->setAccessibleDescription(QStringLiteral("Só se o CD não tiver o lex.mdb"));
    folderButton->setAccessibleName(QStringLiteral("Escolher a pasta do CD"));
    imageButton->setAccessibleName(QStringLiteral("Escolher a imagem do CD"));
    auto* windowsButton = new QPushButton(QStringLiteral("Escol&her…"));
    windowsButton->setAccessibleName(QStringLiteral("Escolher a pasta da instalação do Windows"));
    // Enter in a field installs: only Instalar may be the dialog's default.
    for (QPushButton* chooser : {folderButton, imageButton, windowsButton}) {
        chooser->setAutoDefault(false);
    }

    auto* sourceLabel = new QLabel(QStringLiteral("&CD:"));
    sourceLabel->setBuddy(source_);
    auto* windowsLabel = new QLabel(QStringLiteral("Instalação do &Windows:"));
    windowsLabel->setBuddy(windowsFolder_);
    auto* grid = new QGridLayout;
    grid->addWidget(sourceLabel, 0, 0);
    grid->addWidget(source_, 0, 1);
    grid->addWidget(folderButton, 0, 2);
    grid->addWidget(imageButton, 0, 3);
    grid->addWidget(windowsLabel, 1, 0);
    grid->addWidget(windowsFolder_, 1, 1);
    grid->addWidget(windowsButton, 1, 2);

    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));
    problem_->hide();

    auto* buttons = new QDialogButtonBox;
    install_ = buttons->addButton(QStringLiteral("I&nstalar"), QDialogButtonBox::AcceptRole);
    install_->setDefault(true);
    if (sampleInstalled) {
        QPushButton* sample = buttons->addButton(QStringLiteral("Abrir a edição de &amostra"),
                                                 QDialogButtonBox::ActionRole);
        connect(sample, &QPushButton::clicked, this, [this] {
            sampleChosen_ = true;
            accept();
        });
    }
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(folderButton, &QPushButton::clicked, this,
            [this] { chooseFolder(source_->lineEdit()); });
    connect(imageButton, &QPushButton::clicked, this, &SetupWindow::chooseImage);
    connect(windowsButton, &QPushButton::clicked, this, [this] { chooseFolder(windowsFolder_); });
    connect(install_, &QPushButton::clicked, this, [this] {
        problem_->hide();
        Q_EMIT installRequested();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString SetupWindow::source() const { return source_->currentText().trimmed(); }

QString SetupWindow::windowsFolder() const { return windowsFolder_->text().trimmed(); }

void SetupWindow::showProblem(const QString& text) {
    problem_->setText(text);
    problem_->show();
}

void SetupWindow::chooseFolder(QLineEdit* into) {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Escolher pasta"), into->text());
    if (!folder.isEmpty()) into->setText(folder);
}

void SetupWindow::chooseImage() {
    const QString image = QFileDialog::getOpenFileName(
        this, QStringLiteral("Escolher imagem do CD"), source(),
        QStringLiteral("Imagens de disco (*.iso *.ISO *.bin *.BIN *.cue *.CUE);;Todos os "
                       "arquivos (*)"));
    if (!image.isEmpty()) source_->setCurrentText(image);
}

}  // namespace lumera
