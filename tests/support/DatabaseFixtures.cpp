#include "DatabaseFixtures.h"

#include <sqlite3.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

#include "support/FileBytes.h"

namespace lumera::fixtures {

namespace {

QJsonObject jsonTables() {
    static const QJsonObject tables =
        QJsonDocument::fromJson(testing::readBytes(jetFile(QStringLiteral("lex-jet4.json"))))
            .object()
            .value(QStringLiteral("tables"))
            .toObject();
    return tables;
}

// Text of a JSON value as the database stores it (numbers as their digits).
StoredText storedText(const QJsonValue& value) {
    if (value.isNull()) return std::nullopt;
    if (value.isDouble()) return QString::number(value.toInteger());
    return value.toString();
}

// 'text' with every apostrophe doubled: fixture values are pasted into the
// script that builds the test edition, never into the reader's queries.
QString sqlLiteral(const StoredText& value) {
    if (!value) return QStringLiteral("NULL");
    QString escaped = *value;
    escaped.replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

// Without columns the values go in the table's column order.
QString insertScript(const QString& table, const QStringList& columns,
                     const std::vector<StoredRow>& rows) {
    const QString into = columns.isEmpty() ? table : table + u'(' + columns.join(u',') + u')';
    QString script;
    for (const StoredRow& row : rows) {
        QStringList values;
        for (const StoredText& value : row) values.append(sqlLiteral(value));
        script += QStringLiteral("INSERT INTO %1 VALUES(%2);\n").arg(into, values.join(u','));
    }
    return script;
}

}  // namespace

QString jetFile(const QString& name) { return testing::testData(QStringLiteral("jet/") + name); }

const StoredText& ExpectedTable::value(std::size_t row, const QString& column) const {
    return rows.at(row).at(static_cast<std::size_t>(columns.indexOf(column)));
}

ExpectedTable expectedTable(const QString& name) {
    const QJsonObject table = jsonTables().value(name).toObject();
    ExpectedTable expected;
    for (const QJsonValue& column : table.value(QStringLiteral("columns")).toArray()) {
        expected.columns.append(column.toObject().value(QStringLiteral("name")).toString());
    }
    for (const QJsonValue& row : table.value(QStringLiteral("rows")).toArray()) {
        StoredRow values;
        for (const QString& column : expected.columns) {
            values.push_back(storedText(row.toObject().value(column)));
        }
        expected.rows.push_back(std::move(values));
    }
    return expected;
}

void executeSql(const QString& path, const QString& script) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    char* error = nullptr;
    const int result = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (result != SQLITE_OK) throw std::runtime_error("SQL failed: " + message);
}

void writeSqliteEdition(const QString& path) {
    const ExpectedTable articles = expectedTable(QStringLiteral("DatabaseV"));
    const ExpectedTable media = expectedTable(QStringLiteral("Fotos"));
    executeSql(path,
               QStringLiteral("BEGIN;"
                              "CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete "
                              "TEXT, Tomo TEXT);"
                              "CREATE TABLE Fotos(Id INTEGER PRIMARY KEY, Classe TEXT, Item "
                              "TEXT, Caption TEXT, Tipo TEXT, Param TEXT, File TEXT, Right2 "
                              "TEXT, Format TEXT);") +
                   insertScript(QStringLiteral("DatabaseV"), articles.columns, articles.rows) +
                   insertScript(QStringLiteral("Fotos"), media.columns, media.rows) +
                   QStringLiteral("COMMIT;"));
}

void insertRows(const QString& path, const QString& table, const std::vector<StoredRow>& rows) {
    executeSql(path, insertScript(table, {}, rows));
}

void writeChangedCopy(const QString& source, const QString& target,
                      const std::function<void(QByteArray&)>& change) {
    QByteArray bytes = testing::readBytes(source);
    change(bytes);
    if (!testing::writeBytes(target, bytes))
        throw std::runtime_error("cannot write " + target.toStdString());
}

}  // namespace lumera::fixtures
