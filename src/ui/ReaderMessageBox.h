#pragma once

#include <QMessageBox>

namespace lumera {

// A message box of the reader's, under its title, and wide enough that the
// window manager never cuts that title ("Lumera …ão 2002"): a short text
// would otherwise size the box below it.
class ReaderMessageBox : public QMessageBox {
    Q_OBJECT
  public:
    ReaderMessageBox(Icon icon, const QString& text, StandardButtons buttons = NoButton,
                     QWidget* parent = nullptr);

    static inline const QString kTitle = QStringLiteral("Lumera Edição 2002");
};

// Sim or Não; true for Sim.
bool AskYesNo(QWidget* parent, const QString& text);
void ShowWarning(QWidget* parent, const QString& text);

}  // namespace lumera
