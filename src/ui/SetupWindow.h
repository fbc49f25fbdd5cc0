#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumera {

// The first-run window: where the encyclopedia's CD is (a mounted medium it
// proposes, a folder or a disc image the user picks) and, when the CD lacks
// the installed files, the Windows installation folder. It only asks; the
// set-up is done by whoever answers installRequested.
class SetupWindow : public QDialog {
    Q_OBJECT
  public:
    // media: mounted media that hold the content; sampleInstalled offers the sample.
    SetupWindow(const QStringList& media, bool sampleInstalled, QWidget* parent = nullptr);

    QString source() const;
    QString windowsFolder() const;
    // What went wrong, shown until the next attempt.
    void showProblem(const QString& text);
    bool sampleChosen() const { return sampleChosen_; }

  Q_SIGNALS:
    void installRequested();

  private:
    void chooseFolder(QLineEdit* into);
    void chooseImage();

    QComboBox* source_;
    QLineEdit* windowsFolder_;
    QLabel* problem_;
    QPushButton* install_;
    bool sampleChosen_ = false;
};

}  // namespace lumera
