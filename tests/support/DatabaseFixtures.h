#pragma once

#include "database/RowRecordset.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace lumera::fixtures {

// tests/data/jet, where the database fixtures and their licences live.
QString jetFile(const QString& name);

// A table of lex-jet4.json: every row of the Jet 4 fixtures, NULLs kept.
struct ExpectedTable {
    QStringList columns;
    std::vector<StoredRow> rows;
    const StoredText& value(std::size_t row, const QString& column) const;
};
ExpectedTable expectedTable(const QString& name);

// Runs an SQL script on a SQLite file, creating it when needed.
void executeSql(const QString& path, const QString& script);

// Inserts rows into a table of a SQLite file, values in the table's column order.
void insertRows(const QString& path, const QString& table, const std::vector<StoredRow>& rows);

// A SQLite edition holding the rows of lex-jet4.json in their stored order,
// with the schema the editions built for the reader use.
void writeSqliteEdition(const QString& path);

// Writes a copy of source, changed by change, to target.
void writeChangedCopy(const QString& source, const QString& target,
                      const std::function<void(QByteArray&)>& change);

}  // namespace lumera::fixtures
