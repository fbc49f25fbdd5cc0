// Checks the sample edition and builds its article database (SQLite) from the
// article sources and the media table:
//   make-sample-db <sample-dir> <output lex.mdb>
// <sample-dir> holds articles/ (with fotos.tsv), cd/, lex.ini and
// modelo-final.htm. A problem in any of them fails the run, and so the build.
#include <sqlite3.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <stdexcept>
#include <string>

#include "SampleChecks.h"
#include "SampleSources.h"

namespace {

using lumera::sample::ArticleSource;
using lumera::sample::MediaRow;

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class DatabaseWriter {
  public:
    explicit DatabaseWriter(const QString& path) {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        db_.reset(raw);
        if (rc != SQLITE_OK) fail("cannot create " + path.toStdString());
    }

    void execute(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "unknown error";
            sqlite3_free(message);
            fail(text);
        }
    }

    void insertRows(const char* sql, const QVector<QStringList>& rows) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK) fail(sql);
        const Statement statement(raw);
        for (const QStringList& row : rows) {
            for (int i = 0; i < row.size(); ++i) {
                const QByteArray utf8 = row[i].toUtf8();
                sqlite3_bind_text(raw, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
            if (sqlite3_step(raw) != SQLITE_DONE) fail(sqlite3_errmsg(db_.get()));
            sqlite3_reset(raw);
        }
    }

  private:
    [[noreturn]] void fail(const std::string& what) {
        throw std::runtime_error(what +
                                 (db_ ? std::string(" (") + sqlite3_errmsg(db_.get()) + ")" : ""));
    }
    Database db_;
};

void writeDatabase(const QString& path, const QVector<ArticleSource>& articles,
                   const QVector<MediaRow>& media) {
    DatabaseWriter db(path);
    db.execute(
        "CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT, "
        "Tomo TEXT);"
        "CREATE TABLE Fotos(Id INTEGER PRIMARY KEY, Classe TEXT, Item "
        "TEXT, Caption TEXT, "
        "Tipo TEXT, Param TEXT, File TEXT, Right2 TEXT, Format TEXT);"
        "BEGIN;");
    QVector<QStringList> articleRows;
    for (const ArticleSource& a : articles) articleRows.append({a.key, a.title, a.text, a.tomo});
    db.insertRows("INSERT INTO DatabaseV VALUES(?1, ?2, ?3, ?4)", articleRows);
    QVector<QStringList> mediaRows;
    for (const MediaRow& m : media)
        mediaRows.append(
            {m.classe, m.item, m.caption, m.tipo, m.param, m.file, m.right2, m.format});
    db.insertRows(
        "INSERT INTO Fotos(Classe, Item, Caption, Tipo, Param, File, "
        "Right2, Format) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
        mediaRows);
    db.execute("COMMIT;");
}

}  // namespace

int main(int argc, char** argv) {
    QTextStream err(stderr);
    if (argc != 3) {
        err << "uso: make-sample-db <pasta-da-amostra> <lex.mdb>\n";
        return 2;
    }
    const QString sampleDir = QFile::decodeName(argv[1]);
    const QString outputPath = QFile::decodeName(argv[2]);

    QStringList problems;
    const QString articlesDir = sampleDir + QStringLiteral("/articles");
    const auto articles = lumera::sample::readArticles(articlesDir, &problems);
    const auto media =
        lumera::sample::readMediaTable(articlesDir + QStringLiteral("/fotos.tsv"), &problems);
    if (problems.isEmpty()) problems = lumera::sample::checkEdition(sampleDir, articles, media);
    if (!problems.isEmpty()) {
        for (const QString& problem : problems) err << problem << '\n';
        return 1;
    }
    // Written beside the target and renamed, so a failed run never leaves a
    // half-filled database where the reader looks for one.
    const QString partial = outputPath + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        writeDatabase(partial, articles, media);
    } catch (const std::exception& e) {
        err << outputPath << ": " << e.what() << '\n';
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(outputPath);
    if (!QFile::rename(partial, outputPath)) {
        err << outputPath << ": cannot be written\n";
        return 1;
    }
    QTextStream(stdout) << outputPath << ": " << articles.size() << " artigos, " << media.size()
                        << " itens de mídia\n";
    return 0;
}
