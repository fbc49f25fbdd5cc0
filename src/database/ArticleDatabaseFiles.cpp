#include "database/ArticleDatabaseFiles.h"

#include "database/JetDatabase.h"
#include "database/JetKeyLookups.h"
#include "database/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumera {

namespace {

// Enough for both signatures: SQLite's at 0, Jet's and ACE's at 4.
constexpr qint64 kSignatureBytes = 32;

}  // namespace

ArticleDatabaseFiles::ArticleDatabaseFiles(WindowSystem* windows)
    : lookups_(std::make_unique<JetKeyLookups>(JetKeyLookups::Missing::Build, windows)) {}

ArticleDatabaseFiles::~ArticleDatabaseFiles() = default;

std::unique_ptr<ArticleDatabase> ArticleDatabaseFiles::open(const QString& localPath) {
    return openFile(localPath, lookups_.get());
}

bool ArticleDatabaseFiles::prepareLookups(const QString& localPath) {
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        throw databaseerrors::cannotOpen(localPath, file.errorString());
    if (!JetDatabase::recognizes(file.read(kSignatureBytes))) return true;
    return JetKeyLookups::prepare(localPath);
}

std::unique_ptr<ArticleDatabaseFile> ArticleDatabaseFiles::openFile(const QString& localPath,
                                                                    JetKeyLookups* lookups) {
    const QFileInfo info(localPath);
    if (!info.exists()) {
        throw databaseerrors::cannotOpen(localPath, QStringLiteral("o arquivo não existe"));
    }
    if (!info.isFile()) {
        throw databaseerrors::cannotOpen(localPath, QStringLiteral("não é um arquivo"));
    }
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw databaseerrors::cannotOpen(localPath, file.errorString());
    }
    if (file.size() == 0) {
        throw databaseerrors::cannotOpen(localPath, QStringLiteral("o arquivo está vazio"));
    }
    const QByteArray header = file.read(kSignatureBytes);
    file.close();
    if (SqliteDatabase::recognizes(header)) return std::make_unique<SqliteDatabase>(localPath);
    if (JetDatabase::recognizes(header)) {
        return std::make_unique<JetDatabase>(localPath, lookups);
    }
    throw databaseerrors::cannotOpen(
        localPath, QStringLiteral("o arquivo não é uma base de dados do Access nem do SQLite"));
}

}  // namespace lumera
