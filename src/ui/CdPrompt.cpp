#include "ui/CdPrompt.h"

#include <QFileDialog>
#include <QMessageBox>

#include <QPushButton>
#include "ui/ReaderMessageBox.h"
#include "ui/RememberedFolder.h"

namespace lumera {

std::optional<QString> AskWhereTheCdIs(const QString& problem, const QString& lastPlace) {
    ReaderMessageBox box(QMessageBox::Warning,
                         problem + QStringLiteral("\n\nIndique onde ele está agora: a pasta do CD "
                                                  "(ou de uma cópia) ou a sua imagem de disco."));
    QPushButton* folder = box.addButton(QStringLiteral("Indicar &pasta…"), QMessageBox::ActionRole);
    QPushButton* image = box.addButton(QStringLiteral("Indicar &imagem…"), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("Continuar sem o CD"), QMessageBox::RejectRole);
    box.exec();
    // Where the CD was last found, else the folder used last here.
    const RememberedFolder where(QStringLiteral("cd"), lastPlace);
    QString chosen;
    if (box.clickedButton() == folder) {
        chosen = QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Pasta do CD"),
                                                   where.folder());
    } else if (box.clickedButton() == image) {
        chosen = QFileDialog::getOpenFileName(
            nullptr, QStringLiteral("Imagem do CD"), where.folder(),
            QStringLiteral("Imagens de disco (*.iso *.ISO *.bin *.BIN *.cue *.CUE)"));
    } else {
        return std::nullopt;
    }
    where.remember(chosen);
    return chosen;
}

}  // namespace lumera
