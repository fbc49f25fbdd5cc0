#include "database/ArticleTables.h"

#include <QDir>

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

}  // namespace lumera
