// The article database contract, run against every engine: both Jet 4
// fixture files through libmdb and a SQLite edition built from the same rows.
#include "support/DatabaseFixtures.h"
#include "platform/ArticleDatabaseFiles.h"
#include "platform/JetDatabase.h"
#include "platform/SqliteDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lumera;
using namespace Qt::StringLiterals;

namespace {

const QStringList kArticleColumns = {QStringLiteral("Arquivo"), QStringLiteral("Titulo"),
                                     QStringLiteral("Verbete"), QStringLiteral("Tomo")};

// Every row left in the record set, NULLs read as empty text.
QList<QStringList> walk(Recordset& records, const QStringList& columns) {
    QList<QStringList> rows;
    for (; !records.atEnd(); records.moveNext()) {
        QStringList row;
        for (const QString& column : columns) row.append(records.field(column));
        rows.append(row);
    }
    return rows;
}

QStringList expectedRow(const fixtures::ExpectedTable& table, std::size_t row,
                        const QStringList& columns) {
    QStringList values;
    for (const QString& column : columns)
        values.append(table.value(row, column).value_or(QString()));
    return values;
}

QStringList captions(Recordset& records) {
    QStringList found;
    for (const QStringList& row : walk(records, {QStringLiteral("Caption")})) found.append(row[0]);
    return found;
}

}  // namespace

class ArticleDatabaseContract : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString sqliteEdition_;

    static std::unique_ptr<ArticleDatabaseFile> openFixture() {
        QFETCH_GLOBAL(QString, file);
        return ArticleDatabaseFiles::openFile(file);
    }

  private Q_SLOTS:
    // Every test runs on each engine.
    void initTestCase_data() {
        QVERIFY(dir_.isValid());
        sqliteEdition_ = dir_.filePath(QStringLiteral("lex.mdb"));
        fixtures::writeSqliteEdition(sqliteEdition_);
        QTest::addColumn<QString>("file");
        QTest::newRow("jet4-2000") << fixtures::jetFile(QStringLiteral("lex-jet4.mdb"));
        QTest::newRow("jet4-2003") << fixtures::jetFile(QStringLiteral("lex-jet4-2003.mdb"));
        QTest::newRow("sqlite") << sqliteEdition_;
    }

    void headerChoosesTheEngine() {
        QFETCH_GLOBAL(QString, file);
        const auto db = ArticleDatabaseFiles::openFile(file);
        const bool sqlite = file == sqliteEdition_;
        QCOMPARE(dynamic_cast<SqliteDatabase*>(db.get()) != nullptr, sqlite);
        QCOMPARE(dynamic_cast<JetDatabase*>(db.get()) != nullptr, !sqlite);
    }

    // Long memo, CR LF, characters outside Windows-1252 and the extra Tomo
    // column, each key's rows in stored order, and the indexer's walk.
    void everyArticleReadsBackExactly() {
        const auto db = openFixture();
        const auto expected = fixtures::expectedTable(QStringLiteral("DatabaseV"));
        for (std::size_t i = 0; i < expected.rows.size(); ++i) {
            const QString key = *expected.value(i, QStringLiteral("Arquivo"));
            QList<QStringList> expectedRows;
            for (std::size_t j = 0; j < expected.rows.size(); ++j) {
                if (*expected.value(j, QStringLiteral("Arquivo")) == key) {
                    expectedRows.append(expectedRow(expected, j, kArticleColumns));
                }
            }
            QCOMPARE(walk(*db->articleQuery(key), kArticleColumns), expectedRows);
        }

        QList<QStringList> walked;
        db->forEachArticle([&walked](const ArticleRow& row) {
            walked.append({row.arquivo, row.titulo, row.verbete, row.tomo.value_or(u"-"_s)});
            return true;
        });
        QCOMPARE(walked.size(), qsizetype(17));
        for (std::size_t i = 0; i < expected.rows.size(); ++i) {
            QCOMPARE(walked[static_cast<qsizetype>(i)], expectedRow(expected, i, kArticleColumns));
        }
        QCOMPARE(walked[10][2].size(), qsizetype(72819));
        QVERIFY(walked[10][2].contains(u"Fim do verbete História do Brasil."_s));
    }

    void walkStopsWhenAsked() {
        const auto db = openFixture();
        QStringList keys;
        db->forEachArticle([&keys](const ArticleRow& row) {
            keys.append(row.arquivo);
            return keys.size() < 3;
        });
        QCOMPARE(keys, QStringList({u"brasil.htm"_s, u"agua.htm"_s, u"copo.htm"_s}));
    }

    // Each title's media rows, exactly and in stored order; the one row that
    // repeats another in all eight columns (Id 10) comes out once.
    void everyMediaRowReadsBackExactly() {
        const auto db = openFixture();
        const auto expected = fixtures::expectedTable(QStringLiteral("Fotos"));
        QStringList titles;
        for (std::size_t i = 0; i < expected.rows.size(); ++i) {
            const QString title = *expected.value(i, QStringLiteral("Item"));
            if (!titles.contains(title)) titles.append(title);
        }
        for (const QString& title : titles) {
            QList<QStringList> expectedRows;
            for (std::size_t i = 0; i < expected.rows.size(); ++i) {
                if (*expected.value(i, QStringLiteral("Item")) != title) continue;
                if (*expected.value(i, QStringLiteral("Id")) == u"10"_s) continue;
                expectedRows.append(expectedRow(expected, i, articletables::kMediaColumns));
            }
            QCOMPARE(walk(*db->mediaQuery(title), articletables::kMediaColumns), expectedRows);
        }
    }

    void keysIgnoreLetterCase() {
        const auto db = openFixture();
        const QStringList keyColumn = {QStringLiteral("Arquivo")};
        QCOMPARE(walk(*db->articleQuery(u"recife.htm"_s), keyColumn),
                 QList<QStringList>({{u"Recife.htm"_s}}));
        QCOMPARE(walk(*db->articleQuery(u"BRASIL.HTM"_s), keyColumn),
                 QList<QStringList>({{u"brasil.htm"_s}}));
        QCOMPARE(captions(*db->mediaQuery(u"SÃO PAULO"_s)),
                 QStringList({u"Avenida Paulista"_s, u"Bandeira do estado de São Paulo"_s}));
        QCOMPARE(captions(*db->mediaQuery(u"história do brasil"_s)),
                 QStringList({u"Chegada de Cabral"_s}));
        QCOMPARE(captions(*db->mediaQuery(u"ÁGUA"_s)), QStringList({u"Ciclo da água"_s}));
    }

    // Keys are bound, never pasted into a query: apostrophes are plain text.
    void apostrophesAreJustText() {
        const auto db = openFixture();
        QVERIFY(db->articleQuery(u"copo d'água.htm"_s)->atEnd());
        QVERIFY(db->articleQuery(u"x' OR '1'='1"_s)->atEnd());
        QCOMPARE(captions(*db->mediaQuery(u"Copo d'água"_s)), QStringList({u"Copo de cristal"_s}));
        QCOMPARE(captions(*db->mediaQuery(u"Copo dágua"_s)), QStringList({u"Copo com água"_s}));
        QVERIFY(!db->articleQuery(u"copo.htm"_s)->atEnd());
    }

    void sameKeyTwiceGivesBothFirstStoredFirst() {
        const auto db = openFixture();
        const auto rows = walk(*db->articleQuery(u"duplo.htm"_s), {QStringLiteral("Verbete")});
        QCOMPARE(rows.size(), qsizetype(2));
        QVERIFY(rows[0][0].contains(u"Primeira versão"_s));
        QVERIFY(rows[1][0].contains(u"Segunda versão"_s));
    }

    // Tipo of row 12 is NULL and reads as empty text; Item of row 21 is empty
    // text and is what an empty title finds.
    void nullReadsAsEmptyText() {
        const auto db = openFixture();
        const auto portugal = walk(*db->mediaQuery(u"Portugal"_s), {u"Caption"_s, u"Tipo"_s});
        QCOMPARE(portugal, QList<QStringList>({{u"Bandeira de Portugal"_s, u"aband"_s},
                                               {u"Torre de Belém, Lisboa"_s, QString()}}));
        QCOMPARE(captions(*db->mediaQuery(QString())), QStringList({u"Área do tronco tupi"_s}));
    }

    void distinctKeepsFirstOfEqualRows() {
        const auto db = openFixture();
        QCOMPARE(captions(*db->mediaQuery(u"Brasil"_s)),
                 QStringList({u"Bandeira do Brasil"_s, u"Mapa político do Brasil"_s,
                              u"Cristo Redentor, Rio de Janeiro"_s, u"Regiões do Brasil"_s,
                              u"População brasileira por região"_s, u"Cataratas do Iguaçu"_s,
                              u"Hino Nacional Brasileiro"_s, u"Praia de Copacabana"_s,
                              u"Floresta Amazônica"_s}));
    }

    void fieldsAreNamedWithoutRegardToCase() {
        const auto db = openFixture();
        const auto media = db->mediaQuery(u"Recife"_s);
        QCOMPARE(media->field(u"param"_s), u"/lex2000/fotos/recife.jpg"_s);
        QCOMPARE(media->field(u"FORMAT"_s), u"H"_s);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, media->field(u"Id"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, media->field(u"Nada"_s));
        const auto article = db->articleQuery(u"ohm.htm"_s);
        QCOMPARE(article->field(u"tomo"_s), u"tomo98c"_s);
        QVERIFY(article->field(u"VERBETE"_s).contains(u"Ω"_s));
    }

    void cursorMovesForwardAndBackToFirst() {
        const auto db = openFixture();
        const auto media = db->mediaQuery(u"Brasil"_s);
        const QStringList first = captions(*media);
        QVERIFY(media->atEnd());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, media->field(u"Caption"_s));
        media->moveNext();
        QVERIFY(media->atEnd());
        media->moveFirst();
        QCOMPARE(media->field(u"Caption"_s), u"Bandeira do Brasil"_s);
        QCOMPARE(captions(*media), first);
        media->moveFirst();
        media->close();
        QVERIFY(media->atEnd());

        QVERIFY(db->articleQuery(u"nada.htm"_s)->atEnd());
        QVERIFY(db->mediaQuery(u"Pau-brasil"_s)->atEnd());
    }

    // Record sets hold their rows; a closed database refuses new queries.
    void closeEndsTheConnection() {
        const auto db = openFixture();
        const auto article = db->articleQuery(u"euro.htm"_s);
        db->close();
        QVERIFY(article->field(u"Verbete"_s).contains(u"€"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db->articleQuery(u"euro.htm"_s));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db->mediaQuery(u"Euro"_s));
    }
};

QTEST_GUILESS_MAIN(ArticleDatabaseContract)
#include "test_article_database.moc"
