// Files that are not sound article databases end in a DatabaseError that
// names the file, never in a crash or in silently missing rows.
#include "support/DatabaseFixtures.h"
#include "platform/ArticleDatabaseFiles.h"
#include "platform/JetDatabase.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace lumera;
using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kJet4Page = 4096;

// Everything the reader and the indexer read from a file, as text.
QStringList readEverything(const QString& file) {
    const auto db = ArticleDatabaseFiles::openFile(file);
    QStringList seen;
    db->forEachArticle([&](const ArticleRow& row) {
        seen << row.arquivo << row.titulo << row.verbete << row.tomo.value_or(QString());
        for (const QString& key : {row.arquivo, row.titulo}) {
            const auto media = db->mediaQuery(key);
            for (; !media->atEnd(); media->moveNext()) {
                for (const QString& column : articletables::kMediaColumns) {
                    seen << media->field(column);
                }
            }
        }
        seen << db->articleQuery(row.arquivo)->field(u"Verbete"_s);
        return true;
    });
    return seen;
}

// Every value of the Table1 of jet3-charset.mdb, a file without article tables.
QStringList charsetTable(const QString& file) {
    QStringList seen;
    for (const StoredRow& row : JetDatabase(file).readTable(u"Table1"_s).rows) {
        for (const StoredText& value : row) seen << value.value_or(u"<NULL>"_s);
    }
    return seen;
}

void truncate(QByteArray& bytes, qsizetype size) { bytes.truncate(size); }

}  // namespace

class DamagedDatabases : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString jet4_;
    QString sqlite_;

    QString changedCopy(const QString& source, const QString& name,
                        const std::function<void(QByteArray&)>& change) {
        const QString target = dir_.filePath(name);
        fixtures::writeChangedCopy(source, target, change);
        return target;
    }

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        jet4_ = fixtures::jetFile(u"lex-jet4.mdb"_s);
        sqlite_ = dir_.filePath(u"edition.db"_s);
        fixtures::writeSqliteEdition(sqlite_);
    }

    void refusedWithTheFileNamed_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << dir_.filePath(u"nenhum.mdb"_s);
        QTest::newRow("folder") << dir_.path();
        QTest::newRow("empty") << changedCopy(jet4_, u"empty.mdb"_s,
                                              [](QByteArray& b) { b.clear(); });
        QTest::newRow("text") << changedCopy(
            jet4_, u"text.mdb"_s, [](QByteArray& b) { b = "Isto não é uma base de dados.\r\n"; });
        QTest::newRow("jet zero-filled")
            << changedCopy(jet4_, u"zeros.mdb"_s, [](QByteArray& b) { b.fill('\0'); });
        QTest::newRow("jet cut mid-page") << changedCopy(
            jet4_, u"cut.mdb"_s, [](QByteArray& b) { truncate(b, b.size() / 2 + 100); });
        QTest::newRow("jet header page only")
            << changedCopy(jet4_, u"header.mdb"_s, [](QByteArray& b) { truncate(b, kJet4Page); });
        QTest::newRow("jet pages zeroed after the header") << changedCopy(
            jet4_, u"blank.mdb"_s, [](QByteArray& b) {
                b.replace(kJet4Page, b.size() - kJet4Page, QByteArray(b.size() - kJet4Page, '\0'));
            });
        QTest::newRow("jet unknown version")
            << changedCopy(jet4_, u"version.mdb"_s, [](QByteArray& b) { b[0x14] = 0x40; });
        QTest::newRow("sqlite cut mid-page") << changedCopy(
            sqlite_, u"cut.db"_s, [](QByteArray& b) { truncate(b, b.size() - 100); });
        QTest::newRow("sqlite header only")
            << changedCopy(sqlite_, u"header.db"_s, [](QByteArray& b) { truncate(b, 100); });
        QTest::newRow("sqlite zero-filled after the header")
            << changedCopy(sqlite_, u"blank.db"_s, [](QByteArray& b) {
                   b.replace(100, b.size() - 100, QByteArray(b.size() - 100, '\0'));
               });
    }
    void refusedWithTheFileNamed() {
        QFETCH(QString, file);
        try {
            readEverything(file);
            QFAIL("a damaged file was read as sound");
        } catch (const DatabaseError& error) {
            QVERIFY2(error.message().contains(QFileInfo(file).fileName()),
                     qPrintable(error.message()));
        }
    }

    // A file cut at a page boundary keeps its header intact, so only the
    // pages it lost can tell: every such copy is refused or reads in full.
    void cutAtAnyPageFailsOrReadsWhole_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qsizetype>("pageSize");
        QTest::newRow("jet4") << jet4_ << kJet4Page;
        QTest::newRow("jet3") << fixtures::jetFile(u"jet3-charset.mdb"_s) << qsizetype(2048);
        QTest::newRow("sqlite") << sqlite_ << qsizetype(4096);
    }
    void cutAtAnyPageFailsOrReadsWhole() {
        QFETCH(QString, file);
        QFETCH(qsizetype, pageSize);
        const auto read = file.contains(u"charset"_s) ? &charsetTable : &readEverything;
        const QStringList whole = read(file);
        const qsizetype pages = QFileInfo(file).size() / pageSize;
        int refused = 0;
        for (qsizetype kept = 1; kept < pages; ++kept) {
            const QString copy = changedCopy(file, u"pages.mdb"_s,
                                             [&](QByteArray& b) { truncate(b, kept * pageSize); });
            try {
                QCOMPARE(read(copy), whole);
            } catch (const DatabaseError&) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }

    // Bytes changed at random anywhere in a sound file: every copy reads, or
    // fails with a DatabaseError; none may crash or hang.
    void scrambledBytesNeverCrash_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("jet4") << jet4_;
        QTest::newRow("jet3") << fixtures::jetFile(u"jet3-charset.mdb"_s);
    }
    void scrambledBytesNeverCrash() {
        QFETCH(QString, file);
        const auto read = file.contains(u"charset"_s) ? &charsetTable : &readEverything;
        int refused = 0;
        for (quint32 seed = 0; seed < 150; ++seed) {
            QRandomGenerator random(seed);
            const QString copy = changedCopy(file, u"scrambled.mdb"_s, [&](QByteArray& b) {
                for (int changes = 1 + random.bounded(32); changes > 0; --changes) {
                    b[random.bounded(b.size())] = static_cast<char>(random.bounded(256));
                }
            });
            try {
                read(copy);
            } catch (const DatabaseError&) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(DamagedDatabases)
#include "test_damaged_databases.moc"
