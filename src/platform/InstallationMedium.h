#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/DriveMap.h"

namespace lumera {

// The encyclopedia's CD as the set-up reads it: a mounted medium or a copy
// of it (a folder), or its disc image. It finds the content tree lex2000 and
// the files the installer copied to the disk, wherever they lie on the
// medium: loose (any letter case, or an 8.3 form such as MODELO~1.HTM) or
// packed in a cabinet (.cab). The medium is only ever read.
class InstallationMedium {
  public:
    // Nothing when source is neither a folder nor a disc image.
    static std::unique_ptr<InstallationMedium> open(const QString& source);

    // What a drive letter must be mapped to for the content tree to lie at
    // its root: the image, or the folder that holds lex2000. Empty when the
    // medium has no lex2000.
    QString contentSource() const { return contentSource_; }
    // Copies the file that name stands for to target; false when the medium
    // holds none. foundAs receives where it was found, for messages.
    bool copyOut(const QString& name, const QString& target, QString* foundAs = nullptr) const;

  private:
    explicit InstallationMedium(const QString& source) : source_(source) {}
    void scan();
    bool copyFromCabinets(const QString& name, const QString& target, QString* foundAs) const;

    QString source_;
    DriveMap drives_;  // the medium as one drive
    QString contentSource_;
    QStringList files_;  // every file's path on the drive, shallowest first
};

}  // namespace lumera
