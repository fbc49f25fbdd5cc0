#include "ui/RememberedFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace lumera {

RememberedFolder::RememberedFolder(QString purpose, QString fallback)
    : key_(QStringLiteral("pastas/") + purpose), fallback_(std::move(fallback)) {
    if (fallback_.isEmpty()) {
        fallback_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
}

QString RememberedFolder::folder() const {
    const QString kept = QSettings().value(key_).toString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : fallback_;
}

void RememberedFolder::remember(const QString& chosen) const {
    if (chosen.isEmpty()) return;
    const QFileInfo info(chosen);
    QSettings().setValue(key_, info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

QString RememberedFolder::fileIn(const QString& name) const {
    return QDir(folder()).filePath(name);
}

}  // namespace lumera
