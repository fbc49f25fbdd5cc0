#pragma once

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QString>

#include "host/FileAccess.h"

namespace lumera::testing {

// Maps the paths below one program directory (e.g. "C:\lex\") to the files of
// a local directory.
class DirectoryFileAccess : public FileAccess {
  public:
    DirectoryFileAccess(const QString& programDir, const QString& localDir)
        : programDir_(programDir), localDir_(localDir) {}

    QString existingFile(const QString& path) const override {
        const QString local = localFile(path);
        return !local.isEmpty() && QFileInfo::exists(local) ? local : QString();
    }
    QString writableFile(const QString& path) const override {
        const QString local = localFile(path);
        if (local.isEmpty() || refusedNames.contains(QFileInfo(local).fileName())) return {};
        return QFileInfo(local).dir().exists() ? local : QString();
    }

    // File names the program may not write.
    QSet<QString> refusedNames;

  private:
    QString localFile(const QString& path) const {
        if (!path.startsWith(programDir_)) return {};
        return QDir(localDir_).filePath(path.mid(programDir_.size()));
    }

    QString programDir_;
    QString localDir_;
};

}  // namespace lumera::testing
