#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace lumera {

class PageZoom;
class ReadingTheme;

// "Preferências": the reader's own choices in one place, each kept between
// runs: the page's zoom, light or dark reading, and whether the reader opens
// again where it stopped.
class ReadingSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    ReadingSettingsDialog(PageZoom& zoom, ReadingTheme& theme, QWidget* parent = nullptr);

  private:
    void apply();

    PageZoom& zoom_;
    ReadingTheme& theme_;
    QSpinBox* zoomPercent_;
    QComboBox* scheme_;
    QCheckBox* reopen_;
};

}  // namespace lumera
