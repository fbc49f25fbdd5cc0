#pragma once

#include <QString>

namespace lumera {

// Where a file dialog of the reader opens: the folder used last for that
// purpose, kept between runs, else a folder the user knows (their
// documents), never the edition's hidden folder, which the current
// directory is while the reader runs.
class RememberedFolder {
  public:
    // purpose names what the dialog is for ("gravar", "cd"); fallback is the
    // folder to start in the first time (the documents when empty).
    explicit RememberedFolder(QString purpose, QString fallback = {});

    QString folder() const;
    // A file or folder the user chose: its folder is the next start.
    void remember(const QString& chosen) const;
    // A file name in the folder (for save dialogs).
    QString fileIn(const QString& name) const;

  private:
    QString key_;
    QString fallback_;
};

}  // namespace lumera
