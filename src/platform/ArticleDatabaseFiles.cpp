#include "platform/ArticleDatabaseFiles.h"

#include "platform/JetDatabase.h"
#include "platform/JetKeyLookups.h"
#include "platform/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumera {

namespace databaseerrors {

namespace {
QString shown(const QString& file) { return QDir::toNativeSeparators(file); }
}  // namespace

DatabaseError cannotOpen(const QString& file, const QString& reason) {
    return DatabaseError(QStringLiteral("Não foi possível abrir a base de dados de artigos %1: %2.")
                             .arg(shown(file), reason));
}

DatabaseError cannotRead(const QString& file, const QString& reason) {
    return DatabaseError(QStringLiteral("Não foi possível ler a base de dados de artigos %1: %2.")
                             .arg(shown(file), reason));
}

DatabaseError missingTable(const QString& file, const QString& table) {
    return DatabaseError(
        QStringLiteral("A tabela %1 não existe na base de dados %2.").arg(table, shown(file)));
}

DatabaseError missingColumn(const QString& file, const QString& table, const QString& column) {
    return DatabaseError(QStringLiteral("A coluna %1 não existe na tabela %2 da base de dados %3.")
                             .arg(column, table, shown(file)));
}

DatabaseError unknownField(const QString& file, const QString& table, const QString& column) {
    return DatabaseError(
        QStringLiteral("A coluna %1 não faz parte da consulta à tabela %2 da base de dados %3.")
            .arg(column, table, shown(file)));
}

DatabaseError noCurrentRow(const QString& file, const QString& table) {
    return DatabaseError(
        QStringLiteral("A consulta à tabela %1 da base de dados %2 não tem registro atual.")
            .arg(table, shown(file)));
}

DatabaseError closed(const QString& file) {
    return DatabaseError(
        QStringLiteral("A base de dados de artigos %1 já foi fechada.").arg(shown(file)));
}

}  // namespace databaseerrors

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
