// The article database on every engine: the contract run against both Jet 4
// fixtures through libmdb and a SQLite edition of the same rows; what each
// engine must get right beyond it (Jet 3 text, SQLite NULLs, Unicode case
// and schema); and damaged files, which end in a DatabaseError naming the
// file, never in a crash or in silently missing rows.

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include "database/ArticleDatabaseFiles.h"
#include "database/JetDatabase.h"
#include "database/JetFile.h"
#include "database/JetKeyLookups.h"
#include "database/SqliteDatabase.h"
#include "support/DatabaseFixtures.h"
#include "support/DatabaseReads.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

// The bytes Windows-1252 leaves undefined; Windows reads each as the C1 control of its value.
const QList<int> kUndefinedBytes = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

QStringList captions(Recordset& records) {
    QStringList found;
    for (const QStringList& row : walk(records, {u"Caption"_s})) found.append(row[0]);
    return found;
}

QStringList expectedRow(const fixtures::ExpectedTable& table, std::size_t row,
                        const QStringList& columns) {
    QStringList values;
    for (const QString& column : columns)
        values.append(table.value(row, column).value_or(QString()));
    return values;
}

// The rows of table whose column holds value, in stored order, but the one
// media row (Id 10) that repeats another in all eight columns.
QList<QStringList> rowsWhere(const fixtures::ExpectedTable& table, const QString& column,
                             const QString& value, const QStringList& columns) {
    QList<QStringList> rows;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (table.value(i, column) == value &&
            !(table.columns.contains(u"Id"_s) && table.value(i, u"Id"_s) == u"10"_s))
            rows.append(expectedRow(table, i, columns));
    }
    return rows;
}

// Every value of Table1 of jet3-charset.mdb (a file without article tables), by row name.
QHash<QString, QString> charsetTable(const QString& file) {
    const TableRows table = JetDatabase(file).readTable(u"Table1"_s);
    QHash<QString, QString> rows;
    for (const StoredRow& row : table.rows) {
        rows.insert(row.at(std::size_t(table.columns.indexOf(u"name"_s))).value_or(QString()),
                    row.at(std::size_t(table.columns.indexOf(u"data"_s))).value_or(u"<NULL>"_s));
    }
    return rows;
}

}  // namespace

class Databases : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString sqliteEdition_;
    QString lookupCopy_;
    // Lookups as lumera-index leaves them: used when beside the file, never made.
    JetKeyLookups besideOnly_;

    // Whether the test runs on this engine's row; tests of other files run once.
    static bool onEngine(const QString& engineFile) {
        QFETCH_GLOBAL(QString, file);
        return file == engineFile;
    }
    std::unique_ptr<ArticleDatabaseFile> openFixture() {
        QFETCH_GLOBAL(QString, file);
        return ArticleDatabaseFiles::openFile(file, &besideOnly_);
    }

  private Q_SLOTS:
    // Every test runs on each engine; those of one engine only skip the others.
    void initTestCase_data() {
        QVERIFY(dir_.isValid());
        sqliteEdition_ = dir_.filePath(u"lex.mdb"_s);
        fixtures::writeSqliteEdition(sqliteEdition_);
        QTest::addColumn<QString>("file");
        QTest::newRow("jet4-2000") << fixtures::jetFile(u"lex-jet4.mdb"_s);
        QTest::newRow("jet4-2003") << fixtures::jetFile(u"lex-jet4-2003.mdb"_s);
        QTest::newRow("sqlite") << sqliteEdition_;
        lookupCopy_ = copyWithLookup(dir_, fixtures::jetFile(u"lex-jet4.mdb"_s), u"lookup"_s);
        QVERIFY(QFileInfo::exists(JetKeyLookups::pathFor(lookupCopy_)));
        QTest::newRow("jet4-lookup") << lookupCopy_;
    }

    // Long memo, CR LF, characters outside Windows-1252 and the extra Tomo
    // column, each key's rows in stored order, and the indexer's walk, which
    // stops when asked.
    void everyArticleReadsBackExactly() {
        QFETCH_GLOBAL(QString, file);
        const auto db = openFixture();
        QCOMPARE(dynamic_cast<SqliteDatabase*>(db.get()) != nullptr, file == sqliteEdition_);
        const auto expected = fixtures::expectedTable(u"DatabaseV"_s);
        for (std::size_t i = 0; i < expected.rows.size(); ++i) {
            const QString key = *expected.value(i, u"Arquivo"_s);
            QCOMPARE(walk(*db->articleQuery(key), kArticleColumns),
                     rowsWhere(expected, u"Arquivo"_s, key, kArticleColumns));
        }
        QList<QStringList> walked;
        db->forEachArticle([&walked](const ArticleRow& row) {
            walked.append({row.arquivo, row.titulo, row.verbete, row.tomo.value_or(u"-"_s)});
            return walked.size() < 17;
        });
        for (std::size_t i = 0; i < expected.rows.size(); ++i)
            QCOMPARE(walked.value(qsizetype(i)), expectedRow(expected, i, kArticleColumns));
        QCOMPARE(walked[10][2].size(), qsizetype(72819));
    }

    // Each title's media rows, exactly and in stored order; the one row that
    // repeats another comes out once.
    void everyMediaRowReadsBackExactly() {
        const auto db = openFixture();
        const auto expected = fixtures::expectedTable(u"Fotos"_s);
        for (std::size_t i = 0; i < expected.rows.size(); ++i) {
            const QString title = *expected.value(i, u"Item"_s);
            QCOMPARE(walk(*db->mediaQuery(title), articletables::kMediaColumns),
                     rowsWhere(expected, u"Item"_s, title, articletables::kMediaColumns));
        }
    }

    // Keys ignore letter case and are bound, never pasted into a query;
    // apostrophes are plain text; NULL Tipo reads as empty text; an empty
    // title finds the row whose Item is empty.
    void lookups() {
        const auto db = openFixture();
        const struct {
            QString title;
            QStringList captions;
        } media[] = {
            {u"SÃO PAULO"_s, {"Avenida Paulista", "Bandeira do estado de São Paulo"}},
            {u"história do brasil"_s, {"Chegada de Cabral"}},
            {u"ÁGUA"_s, {"Ciclo da água"}},
            {u"Copo d'água"_s, {"Copo de cristal"}},
            {u"Copo dágua"_s, {"Copo com água"}},
            {QString(), {"Área do tronco tupi"}},
            {u"Pau-brasil"_s, {}},
        };
        for (const auto& row : media) QCOMPARE(captions(*db->mediaQuery(row.title)), row.captions);
        QCOMPARE(walk(*db->mediaQuery(u"Portugal"_s), {u"Caption"_s, u"Tipo"_s}),
                 QList<QStringList>(
                     {{"Bandeira de Portugal", "aband"}, {"Torre de Belém, Lisboa", ""}}));
        QCOMPARE(walk(*db->articleQuery(u"recife.htm"_s), {u"Arquivo"_s}),
                 QList<QStringList>({{"Recife.htm"}}));
        for (const QString& key : {u"copo d'água.htm"_s, u"x' OR '1'='1"_s, u"nada.htm"_s})
            QVERIFY(db->articleQuery(key)->atEnd());
        const auto duplicated = walk(*db->articleQuery(u"duplo.htm"_s), {u"Verbete"_s});
        QCOMPARE(duplicated.size(), qsizetype(2));
        QVERIFY(duplicated[0][0].contains(u"Primeira versão"_s) &&
                duplicated[1][0].contains(u"Segunda versão"_s));
        // Through its lookup a query reads its rows' pages, not the whole tables.
        if (dynamic_cast<JetDatabase*>(db.get())) {
            QFETCH_GLOBAL(QString, file);
            const auto pages = [&file](JetKeyLookups* lookups) {
                JetDatabase jet(file, lookups);
                const quint64 opened = jet.pagesRead();
                jet.mediaQuery(u"Brasil"_s);
                jet.articleQuery(u"ohm.htm"_s);
                return jet.pagesRead() - opened;
            };
            QCOMPARE(pages(&besideOnly_) < pages(nullptr), file == lookupCopy_);
        }
    }

    // Fields are named without regard to case; the cursor moves forward and
    // back to the first row; record sets hold their rows after the database
    // is closed, which refuses new queries.
    void recordSets() {
        const auto db = openFixture();
        const auto media = db->mediaQuery(u"Recife"_s);
        QCOMPARE(media->field(u"param"_s) + media->field(u"FORMAT"_s),
                 u"/lex2000/fotos/recife.jpgH"_s);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, media->field(u"Id"_s));
        const auto brasil = db->mediaQuery(u"Brasil"_s);
        const QStringList first = captions(*brasil);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, brasil->field(u"Caption"_s));
        brasil->moveNext();
        QVERIFY(brasil->atEnd());
        brasil->moveFirst();
        QCOMPARE(captions(*brasil), first);
        brasil->close();
        QVERIFY(brasil->atEnd());
        const auto article = db->articleQuery(u"ohm.htm"_s);
        db->close();
        QCOMPARE(article->field(u"tomo"_s), u"tomo98c"_s);
        QVERIFY(article->field(u"VERBETE"_s).contains(u"Ω"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db->articleQuery(u"euro.htm"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db->mediaQuery(u"Euro"_s));
    }

    // Jet 3 text is Windows-1252. The fixture holds '?' for most of
    // 0x80..0x9F but keeps the five bytes the code page leaves undefined,
    // read as Windows reads them; copies put one of the code page's own
    // characters in place of every '?'.
    void jet3TextDecodesAsWindows1252() {
        if (!onEngine(fixtures::jetFile(u"lex-jet4.mdb"_s))) QSKIP("the Jet 3 files are read once");
        const QString charset = fixtures::jetFile(u"jet3-charset.mdb"_s);
        const struct {
            char byte;
            QString read;
        } rows[] = {
            {'?', u"?"_s}, {'\x80', u"€"_s}, {'\x9c', u"œ"_s}, {'\x8d', QString(QChar(0x8D))}};
        for (const auto& row : rows) {
            const QString copy =
                changedCopy(dir_, charset, u"charset.mdb"_s, [&row](QByteArray& bytes) {
                    bytes.replace("AA?AA", QByteArray("AA") + row.byte + "AA");
                });
            const auto table = charsetTable(copy);
            for (int n = 128; n <= 255; ++n) {
                const QString middle =
                    n >= 160 || kUndefinedBytes.contains(n) ? QString(QChar(n)) : row.read;
                QCOMPARE(table.value(u"row"_s + QString::number(n)), u"AA"_s + middle + u"AA"_s);
            }
        }
    }

    // A file without the article tables, or a column, says which and where.
    // SQLite keys match in any case outside ASCII too; NULL matches nothing;
    // DISTINCT takes two NULLs as equal, NULL and empty text as different,
    // and letter case as no difference.
    void missingTablesAndSqliteKeys() {
        if (!onEngine(sqliteEdition_)) QSKIP("these files are read once");
        const struct {
            QString file;
            QString schema;
            bool articles;
            QString said;
        } rows[] = {
            {fixtures::jetFile(u"jet3-sample.mdb"_s), QString(), true,
             u"A tabela DatabaseV não existe"_s},
            {u"none.db"_s, u"CREATE TABLE Outra(x TEXT);"_s, true, u"DatabaseV não existe"_s},
            {u"key.db"_s, u"CREATE TABLE DatabaseV(Titulo TEXT, Verbete TEXT);"_s, true,
             u"Arquivo não existe"_s},
            {u"media.db"_s, u"CREATE TABLE DatabaseV(Arquivo TEXT);"_s, false,
             u"Fotos não existe"_s},
            {u"right2.db"_s,
             u"CREATE TABLE Fotos(Classe, Item, Caption, Tipo, Param, File, Format);"_s, false,
             u"Right2 não existe"_s},
        };
        for (const auto& row : rows) {
            const QString file = row.schema.isEmpty() ? row.file : dir_.filePath(row.file);
            if (!row.schema.isEmpty()) fixtures::executeSql(file, row.schema);
            const auto db = ArticleDatabaseFiles::openFile(file);
            try {
                row.articles ? (void)db->articleQuery(u"x.htm"_s) : (void)db->mediaQuery(u"x"_s);
                QFAIL("the query needs what the file lacks");
            } catch (const DatabaseError& error) {
                QVERIFY2(error.message().contains(row.said) &&
                             error.message().contains(QFileInfo(file).fileName()),
                         qPrintable(error.message()));
            }
        }
        const QString file = dir_.filePath(u"keys.db"_s);
        fixtures::executeSql(
            file,
            u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT);"
            "INSERT INTO DatabaseV VALUES('São Paulo.htm', 'São Paulo', 'texto'), (NULL, 'Nulo', "
            "'nulo');"
            "CREATE TABLE Fotos(Id INTEGER PRIMARY KEY, Classe, Item, Caption, Tipo, Param, File, "
            "Right2, Format);"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES(NULL, 'item nulo', 'afoto'), ('', "
            "'vazio', NULL),"
            "('', 'vazio', ''), ('', 'vazio', NULL), ('', 'VAZIO', 'AFOTO'), ('', 'vazio', 'afoto');"_s);
        const auto db = ArticleDatabaseFiles::openFile(file);
        QCOMPARE(db->articleQuery(u"SÃO PAULO.HTM"_s)->field(u"Titulo"_s), u"São Paulo"_s);
        QVERIFY(db->articleQuery(QString())->atEnd());
        QStringList kinds;
        for (const QStringList& row : walk(*db->mediaQuery(QString()), {u"Caption"_s, u"Tipo"_s}))
            kinds << row.join(u'/');
        QCOMPARE(kinds, QStringList({u"vazio/"_s, u"vazio/"_s, u"VAZIO/AFOTO"_s}));
    }

    void damagedFilesAreRefusedWithTheFileNamed() {
        if (!onEngine(sqliteEdition_)) QSKIP("these files are read once");
        const QString jet = fixtures::jetFile(u"lex-jet4.mdb"_s);
        const auto zeroFrom = [](qsizetype offset) {
            return [offset](QByteArray& b) {
                b.replace(offset, b.size() - offset, QByteArray(b.size() - offset, '\0'));
            };
        };
        const struct {
            QString source;
            QString name;
            std::function<void(QByteArray&)> change;
        } rows[] = {
            {jet, u"empty.mdb"_s, [](QByteArray& b) { b.clear(); }},
            {jet, u"text.mdb"_s, [](QByteArray& b) { b = "Isto não é uma base de dados.\r\n"; }},
            {jet, u"zeros.mdb"_s, zeroFrom(0)},
            {jet, u"cut.mdb"_s, [](QByteArray& b) { b.truncate(b.size() / 2 + 100); }},
            {jet, u"header.mdb"_s, [](QByteArray& b) { b.truncate(kJet4Page); }},
            {jet, u"blank.mdb"_s, zeroFrom(kJet4Page)},
            {jet, u"version.mdb"_s, [](QByteArray& b) { b[0x14] = 0x40; }},
            {sqliteEdition_, u"cut.db"_s, [](QByteArray& b) { b.truncate(b.size() - 100); }},
            {sqliteEdition_, u"header.db"_s, [](QByteArray& b) { b.truncate(100); }},
            {sqliteEdition_, u"blank.db"_s, zeroFrom(100)},
        };
        QStringList files = {dir_.filePath(u"nenhum.mdb"_s), dir_.path()};
        for (const auto& row : rows) files << changedCopy(dir_, row.source, row.name, row.change);
        // With a lookup made on first use, or without one.
        JetKeyLookups building(JetKeyLookups::Missing::Build);
        for (const QString& file : files) {
            for (JetKeyLookups* lookups : {static_cast<JetKeyLookups*>(nullptr), &building}) {
                try {
                    readEverything(file, lookups);
                    QFAIL(qPrintable(file + u" was read as sound"_s));
                } catch (const DatabaseError& error) {
                    QVERIFY2(error.message().contains(QFileInfo(file).fileName()),
                             qPrintable(error.message()));
                }
            }
        }
    }

    // A file cut at a page boundary keeps its header intact, so only the
    // pages it lost can tell: every such copy is refused or reads in full.
    void cutAtAnyPageFailsOrReadsWhole() {
        QFETCH_GLOBAL(QString, file);
        if (file == fixtures::jetFile(u"lex-jet4-2003.mdb"_s)) QSKIP("one Jet 4 file is enough");
        const qsizetype pageSize = 4096;
        const QStringList whole = readEverything(file);
        // The lookup row's copies are read through lookups made of them.
        JetKeyLookups building(JetKeyLookups::Missing::Build);
        JetKeyLookups* lookups = file == lookupCopy_ ? &building : nullptr;
        int refused = 0;
        for (qsizetype kept = 1; kept < QFileInfo(file).size() / pageSize; ++kept) {
            const QString copy = changedCopy(dir_, file, u"pages.mdb"_s,
                                             [&](QByteArray& b) { b.truncate(kept * pageSize); });
            try {
                QCOMPARE(readEverything(copy, lookups), whole);
            } catch (const DatabaseError&) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(Databases)
#include "test_databases.moc"
