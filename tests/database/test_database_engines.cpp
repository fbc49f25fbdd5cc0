// What each engine must get right beyond the shared fixture: Jet 3 text and
// memos, and the SQLite queries' handling of NULL, Unicode case and schema.
#include "support/DatabaseFixtures.h"
#include "platform/ArticleDatabaseFiles.h"
#include "platform/JetDatabase.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace lumera;
using namespace Qt::StringLiterals;

namespace {

// The bytes Windows-1252 leaves undefined; Windows reads each as the C1 control of its value.
const QList<int> kUndefinedBytes = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

// name -> data of the rows of Table1 in jet3-charset.mdb.
QHash<QString, StoredText> charsetRows(const QString& file) {
    JetDatabase db(file);
    const TableRows table = db.readTable(u"Table1"_s);
    const auto name = table.columns.indexOf(u"name"_s);
    const auto data = table.columns.indexOf(u"data"_s);
    QHash<QString, StoredText> rows;
    for (const StoredRow& row : table.rows) {
        rows.insert(row.at(static_cast<std::size_t>(name)).value_or(QString()),
                    row.at(static_cast<std::size_t>(data)));
    }
    return rows;
}

QStringList captions(Recordset& records) {
    QStringList found;
    for (; !records.atEnd(); records.moveNext()) found.append(records.field(u"Caption"_s));
    return found;
}

}  // namespace

class DatabaseEngines : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString sqliteFile(const QString& name, const QString& script) {
        const QString path = dir_.filePath(name);
        fixtures::executeSql(path, script);
        return path;
    }

  private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void jet3TextDecodesAsWindows1252() {
        const auto rows = charsetRows(fixtures::jetFile(u"jet3-charset.mdb"_s));
        QCOMPARE(rows.value(u"row233"_s), StoredText(u"AAéAA"_s));
        for (int n = 160; n <= 255; ++n) {
            const QString expected = u"AA"_s + QChar(n) + u"AA"_s;
            QCOMPARE(rows.value(u"row"_s + QString::number(n)), StoredText(expected));
        }
        // The file holds '?' for most of 0x80..0x9F, but keeps the five bytes
        // the code page leaves undefined; they read as Windows reads them.
        for (int n = 128; n <= 159; ++n) {
            const QString middle = kUndefinedBytes.contains(n) ? QString(QChar(n)) : u"?"_s;
            QCOMPARE(rows.value(u"row"_s + QString::number(n)),
                     StoredText(u"AA"_s + middle + u"AA"_s));
        }
    }

    // The fixture stores none of the code page's own characters between 0x80
    // and 0x9F, so a copy gets one in place of every '?' of "AA?AA".
    void jet3BytesAbovePrintableAsciiFollowTheCodePage_data() {
        QTest::addColumn<char>("byte");
        QTest::addColumn<QString>("expected");
        QTest::newRow("euro") << '\x80' << u"€"_s;
        QTest::newRow("oe") << '\x9c' << u"œ"_s;
        QTest::newRow("undefined 0x8D") << '\x8d' << QString(QChar(0x8D));
    }
    void jet3BytesAbovePrintableAsciiFollowTheCodePage() {
        QFETCH(char, byte);
        QFETCH(QString, expected);
        const QString copy = dir_.filePath(u"charset-%1.mdb"_s.arg(int(uchar(byte))));
        fixtures::writeChangedCopy(
            fixtures::jetFile(u"jet3-charset.mdb"_s), copy,
            [byte](QByteArray& bytes) { bytes.replace("AA?AA", QByteArray("AA") + byte + "AA"); });
        const auto rows = charsetRows(copy);
        for (int n = 128; n <= 159; ++n) {
            const QString middle = kUndefinedBytes.contains(n) ? QString(QChar(n)) : expected;
            QCOMPARE(rows.value(u"row"_s + QString::number(n)),
                     StoredText(u"AA"_s + middle + u"AA"_s));
        }
        QCOMPARE(rows.value(u"row233"_s), StoredText(u"AAéAA"_s));
    }

    void jet3MemoAndTextReadWhole() {
        JetDatabase db(fixtures::jetFile(u"jet3-memo.mdb"_s));
        const TableRows table = db.readTable(u"MSP_PROJECTS"_s);
        QCOMPARE(table.rows.size(), std::size_t(1));
        const StoredRow& row = table.rows.front();
        const auto column = [&](const QString& name) {
            return row.at(static_cast<std::size_t>(table.columns.indexOf(name)));
        };
        const QString author = column(u"PROJ_PROP_AUTHOR"_s).value_or(QString());
        QCOMPARE(author.size(), qsizetype(348));
        QVERIFY(author.startsWith(u"Jon Iles this is a a vawesrasoih"_s));
        QCOMPARE(column(u"PROJ_OPT_CURRENCY_SYMBOL"_s), StoredText(u"£"_s));
    }

    void fileWithoutArticleTablesSaysWhichIsMissing() {
        const QString file = fixtures::jetFile(u"jet3-sample.mdb"_s);
        const auto db = ArticleDatabaseFiles::openFile(file);
        try {
            db->articleQuery(u"brasil.htm"_s);
            QFAIL("DatabaseV is not in this file");
        } catch (const DatabaseError& error) {
            QVERIFY(error.message().startsWith(u"A tabela DatabaseV não existe"_s));
            QVERIFY(error.message().contains(u"jet3-sample.mdb"_s));
        }
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db->mediaQuery(u"Brasil"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 db->forEachArticle([](const ArticleRow&) { return true; }));
    }

    void sqliteMissingTableOrColumnIsReported_data() {
        QTest::addColumn<QString>("schema");
        QTest::addColumn<bool>("articles");
        QTest::addColumn<QString>("named");
        QTest::newRow("no tables") << u"CREATE TABLE Outra(x TEXT);"_s << true << u"DatabaseV"_s;
        QTest::newRow("no Arquivo")
            << u"CREATE TABLE DatabaseV(Titulo TEXT, Verbete TEXT);"_s << true << u"Arquivo"_s;
        QTest::newRow("no Fotos") << u"CREATE TABLE DatabaseV(Arquivo TEXT);"_s << false
                                  << u"Fotos"_s;
        QTest::newRow("no Right2")
            << u"CREATE TABLE Fotos(Classe, Item, Caption, Tipo, Param, File, Format);"_s << false
            << u"Right2"_s;
    }
    void sqliteMissingTableOrColumnIsReported() {
        QFETCH(QString, schema);
        QFETCH(bool, articles);
        QFETCH(QString, named);
        const QString file =
            sqliteFile(QString::fromLatin1(QTest::currentDataTag()) + u".db"_s, schema);
        const auto db = ArticleDatabaseFiles::openFile(file);
        try {
            if (articles) {
                db->articleQuery(u"x.htm"_s);
            } else {
                db->mediaQuery(u"x"_s);
            }
            QFAIL("the query needs what the file lacks");
        } catch (const DatabaseError& error) {
            QVERIFY2(error.message().contains(named + u" não existe"_s),
                     qPrintable(error.message()));
            QVERIFY(error.message().contains(file));
        }
    }

    // Case differences outside ASCII match; NULL matches nothing; DISTINCT
    // takes two NULLs as equal, NULL and empty text as different, and
    // letter case as no difference.
    void sqliteKeysAndDistinct() {
        const QString file = sqliteFile(
            u"keys.db"_s,
            u"CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT);"
            "INSERT INTO DatabaseV VALUES('São Paulo.htm', 'São Paulo', 'texto');"
            "INSERT INTO DatabaseV VALUES(NULL, 'Nulo', 'nulo');"
            "CREATE TABLE Fotos(Id INTEGER PRIMARY KEY, Classe TEXT, Item TEXT, Caption TEXT, "
            "Tipo TEXT, Param TEXT, File TEXT, Right2 TEXT, Format TEXT);"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES(NULL, 'item nulo', 'afoto');"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES('', 'vazio', NULL);"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES('', 'vazio', '');"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES('', 'vazio', NULL);"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES('', 'VAZIO', 'AFOTO');"
            "INSERT INTO Fotos(Item, Caption, Tipo) VALUES('', 'vazio', 'afoto');"_s);
        const auto db = ArticleDatabaseFiles::openFile(file);
        QCOMPARE(db->articleQuery(u"SÃO PAULO.HTM"_s)->field(u"Titulo"_s), u"São Paulo"_s);
        QVERIFY(db->articleQuery(QString())->atEnd());

        const auto media = db->mediaQuery(QString());
        QStringList kinds;
        for (; !media->atEnd(); media->moveNext()) {
            kinds.append(media->field(u"Caption"_s) + u'/' + media->field(u"Tipo"_s));
        }
        QCOMPARE(kinds, QStringList({u"vazio/"_s, u"vazio/"_s, u"VAZIO/AFOTO"_s}));
        QCOMPARE(captions(*db->mediaQuery(u"x' OR '1'='1"_s)), QStringList());
    }
};

QTEST_GUILESS_MAIN(DatabaseEngines)
#include "test_database_engines.moc"
