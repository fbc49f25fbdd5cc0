#include "ui/CdPrompt.h"

#include <QFileDialog>
#include <QMessageBox>

#include <QPushButton>
#include "ui/ReaderMessageBox.h"

namespace lumera {

std::optional<QString> AskWhereTheCdIs(const QString& problem) {
    ReaderMessageBox box(QMessageBox::Warning,
                         problem + QStringLiteral("\n\nIndique onde ele está agora: a pasta do CD "
                                                  "(ou de uma cópia) ou a sua imagem de disco."));
    QPushButton* folder = box.addButton(QStringLiteral("Indicar &pasta…"), QMessageBox::ActionRole);
    QPushButton* image = box.addButton(QStringLiteral("Indicar &imagem…"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("Continuar sem o CD"), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() == folder) {
        return QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Pasta do CD"));
    }
    if (box.clickedButton() == image) {
        return QFileDialog::getOpenFileName(
            nullptr, QStringLiteral("Imagem do CD"), QString(),
            QStringLiteral("Imagens de disco (*.iso *.ISO *.bin *.BIN *.cue *.CUE)"));
    }
    return std::nullopt;
}

}  // namespace lumera
