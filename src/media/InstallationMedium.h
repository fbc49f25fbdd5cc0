#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "media/DriveMap.h"

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

    // A file of the medium that a name stands for: loose, or packed in a cabinet.
    struct File {
        QString path;     // on the medium's drive; the cabinet's when packed
        QString stored;   // its name in the cabinet, empty when loose
        QString cabinet;  // the cabinet as a file of this machine
        qint64 size = 0;  // as the medium declares it
        QString foundAs;  // where it was found, for messages
    };
    // Loose files first, shallowest first, then cabinets. A cabinet inside a
    // disc image is copied into workFolder to be read.
    std::optional<File> find(const QString& name, const QString& workFolder) const;

    enum class CopyOutcome { Copied, Unreadable, WriteFailed };
    // Bytes copied so far; it may throw to stop the copy.
    using CopyProgress = std::function<void(qint64 done)>;
    // Copies a found file to target; reason says why it failed.
    CopyOutcome copy(const File& file, const QString& target, const CopyProgress& progress,
                     QString* reason) const;

  private:
    explicit InstallationMedium(const QString& source) : source_(source) {}
    void scan();
    std::optional<File> findInCabinets(const QString& name, const QString& workFolder) const;

    QString source_;
    DriveMap drives_;  // the medium as one drive
    QString contentSource_;
    QStringList files_;  // every file's path on the drive, shallowest first
};

}  // namespace lumera
