#pragma once

#include <QDir>
#include <QFileInfo>
#include <QHash>
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
        const auto replacement = replacedNames.constFind(QFileInfo(local).fileName());
        if (!local.isEmpty() && replacement != replacedNames.cend()) return *replacement;
        return !local.isEmpty() && QFileInfo::exists(local) ? local : QString();
    }
    bool isFile(const QString& path) const override {
        return QFileInfo(existingFile(path)).isFile();
    }
    QString writableFile(const QString& path) const override {
        const QString local = localFile(path);
        if (local.isEmpty() || refusedNames.contains(QFileInfo(local).fileName())) return {};
        return QFileInfo(local).dir().exists() ? local : QString();
    }

    // File names the program may not write.
    QSet<QString> refusedNames;
    // File names read from another local file, e.g. one that fails to read.
    QHash<QString, QString> replacedNames;

  private:
    QString localFile(const QString& path) const {
        if (!path.startsWith(programDir_)) return {};
        return QDir(localDir_).filePath(path.mid(programDir_.size()));
    }

    QString programDir_;
    QString localDir_;
};

}  // namespace lumera::testing
