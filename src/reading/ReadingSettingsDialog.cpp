#include "reading/ReadingSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "reading/ReadingSession.h"
#include "reading/ReadingTheme.h"
#include "ui/PageZoom.h"

namespace lumera {

ReadingSettingsDialog::ReadingSettingsDialog(PageZoom& zoom, ReadingTheme& theme, QWidget* parent)
    : QDialog(parent),
      zoom_(zoom),
      theme_(theme),
      zoomPercent_(new QSpinBox),
      scheme_(new QComboBox),
      reopen_(new QCheckBox(tr("Ao abrir, voltar ao último verbete lido, no ponto em que parei"))) {
    setWindowTitle(QStringLiteral("Lumera Edição 2002 - Preferências"));
    zoomPercent_->setRange(qRound(PageZoom::kMinimum * 100), qRound(PageZoom::kMaximum * 100));
    zoomPercent_->setSuffix(QStringLiteral(" %"));
    zoomPercent_->setSingleStep(10);
    zoomPercent_->setValue(qRound(zoom.factor() * 100));
    scheme_->addItems({tr("Como o sistema"), tr("Claro"), tr("Escuro")});
    scheme_->setCurrentIndex(static_cast<int>(theme.choice()));
    reopen_->setChecked(ReadingSession::reopensLast());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Tamanho da página:"), zoomPercent_);
    form->addRow(tr("&Modo de leitura:"), scheme_);
    form->addRow(reopen_);
    form->addRow(buttons);
}

void ReadingSettingsDialog::apply() {
    zoom_.setFactor(zoomPercent_->value() / 100.0);
    theme_.setChoice(static_cast<ReadingTheme::Choice>(scheme_->currentIndex()));
    ReadingSession::setReopensLast(reopen_->isChecked());
}

}  // namespace lumera
