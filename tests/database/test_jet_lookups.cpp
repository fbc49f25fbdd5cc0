// The key lookups of Jet files (lex.chaves) and the files' own Jet indexes:
// the rows they give are the walk's, and a lookup that is not the file's, or
// is no lookup at all, is never believed.
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include "database/JetDatabase.h"
#include "database/JetFile.h"
#include "headless/HeadlessWindowSystem.h"
#include "support/DatabaseFixtures.h"
#include "support/DatabaseReads.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

class JetLookups : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    // Lookups as lumera-index leaves them: used when beside the file, never made.
    JetKeyLookups besideOnly_;

  private Q_SLOTS:
    // Through its Jet indexes or its lookup, a file gives the rows its walk
    // gives, for every key and title in any letter case and for keys it does
    // not hold, reading fewer pages. The index fixture's keys have the
    // twins folding joins and the sort order parts (ſ and s, K and k), the
    // characters it ignores, keys beyond the Latin-1 it knows, long keys, one
    // key on more than one leaf, and a last leaf the index tree does not name.
    void keysGiveTheWalksRows() {
        const struct {
            QString fixture;
            bool lookup;
        } rows[] = {
            {u"lex-jet4.mdb"_s, true},
            {u"lex-jet4-2003.mdb"_s, true},
            {u"edition-jet4-index.mdb"_s, false},
            {u"jet4-index-keys.mdb"_s, false},
        };
        for (const auto& row : rows) {
            const QString copy =
                copyWithLookup(dir_, fixtures::jetFile(row.fixture), row.fixture, row.lookup);
            JetDatabase walked(copy);
            JetDatabase looked(copy, &besideOnly_);
            QStringList keys = {QString(), u"nada.htm"_s};
            walked.forEachArticle([&keys](const ArticleRow& article) {
                keys << article.arquivo << article.arquivo.toUpper() << article.titulo;
                return true;
            });
            const TableRows media = walked.readTable(u"Fotos"_s);
            for (const StoredRow& values : media.rows) {
                const QString item =
                    values.at(std::size_t(media.columns.indexOf(u"Item"_s))).value_or(QString());
                keys << item << item.toUpper() << item.toLower();
            }
            keys.removeDuplicates();
            const quint64 walkedBefore = walked.pagesRead();
            const quint64 lookedBefore = looked.pagesRead();
            for (const QString& key : keys) {
                QCOMPARE(walk(*looked.articleQuery(key), kArticleColumns),
                         walk(*walked.articleQuery(key), kArticleColumns));
                QCOMPARE(walk(*looked.mediaQuery(key), articletables::kMediaColumns),
                         walk(*walked.mediaQuery(key), articletables::kMediaColumns));
            }
            QCOMPARE_LT(looked.pagesRead() - lookedBefore, walked.pagesRead() - walkedBefore);
        }
    }

    // The reader's first request on a Jet file without a lookup makes it,
    // under the busy pointer, and later requests use it; a file whose Jet
    // indexes serve its keys needs none.
    void lookupMadeOnFirstUseUnderTheBusyPointer() {
        const QString plain =
            copyWithLookup(dir_, fixtures::jetFile(u"lex-jet4.mdb"_s), u"first"_s, false);
        const QString indexed =
            copyWithLookup(dir_, fixtures::jetFile(u"jet4-index-keys.mdb"_s), u"indexed"_s, false);
        HeadlessWindowSystem windows;
        ArticleDatabaseFiles databases(&windows);
        for (const QString& file : {plain, plain, indexed}) {
            QCOMPARE(
                walk(*databases.open(file)->articleQuery(u"OHM.htm"_s), {u"Arquivo"_s}).size() +
                    walk(*databases.open(file)->articleQuery(u"SABER.htm"_s), {u"Arquivo"_s})
                        .size(),
                file == plain ? 1 : 3);
        }
        QCOMPARE(windows.busy, QList<bool>({true, false}));
        QVERIFY(QFileInfo::exists(JetKeyLookups::pathFor(plain)));
        QVERIFY(!QFileInfo::exists(JetKeyLookups::pathFor(indexed)));
    }

    // A lookup that is cut, changed, of another file, or older than its
    // lex.mdb is not believed: the rows are those of the walk. Nor is one
    // whose checksum is right but whose rows are not the file's (another
    // file's, two keys swapped, a row left out), without the file said to
    // be damaged; nor what is no regular file, or is reached through a link,
    // or is longer than its header says, of which no more is read than a
    // lookup's size. One made on first use replaces whatever lies there.
    void damagedOrStaleLookupsAreNotBelieved() {
        const QString other =
            copyWithLookup(dir_, fixtures::jetFile(u"lex-jet4-2003.mdb"_s), u"other"_s);
        const QString jet4 = fixtures::jetFile(u"lex-jet4.mdb"_s);
        const QString swapped = changedCopy(dir_, jet4, u"swapped.mdb"_s, [](QByteArray& d) {
            d.replace("istambul.htm", "~~~~~~~~~~~~").replace("portugal.htm", "istambul.htm");
            d.replace("~~~~~~~~~~~~", "portugal.htm");
        });
        const QString deleted = changedCopy(dir_, jet4, u"deleted.mdb"_s, [&jet4](QByteArray& d) {
            JetFile file(jet4);
            JetTableReader reader(file, u"DatabaseV"_s);
            while (reader.next() && reader.value(0) != u"istambul.htm"_s) {
            }
            // Jet marks a deleted row in the page's table of row offsets.
            const quint32 row = reader.location();
            d[(row >> 8) * kJet4Page + 15 + 2 * (row & 0xFF)] |= 0x40;
        });
        const auto madeOf = [](const QString& source) {
            return [source](const QString& at, const QString& copy) {
                return testing::writeBytes(
                    at, JetKeyLookup::build(JetFile(source), JetFile(copy).stamp()).toBytes());
            };
        };
        const auto linkTo = [](const QString& target) {
            return [target](const QString& at, const QString&) {
                return QFile::remove(at) && QFile::link(target, at);
            };
        };
        const struct {
            QString name;
            std::function<void(QByteArray& lookup, QByteArray& database)> change;
            std::function<bool(const QString& at, const QString& copy)> plant;
        } rows[] = {
            {u"cut"_s, [](QByteArray& l, QByteArray&) { l.chop(l.size() / 3); }, {}},
            {u"empty"_s, [](QByteArray& l, QByteArray&) { l.clear(); }, {}},
            {u"entry"_s, [](QByteArray& l, QByteArray&) { l[40] ^= 1; }, {}},  // a key's hash
            {u"other"_s,
             [&other](QByteArray& l, QByteArray&) {
                 l = testing::readBytes(JetKeyLookups::pathFor(other));
             },
             {}},
            {u"newer"_s,
             [](QByteArray&, QByteArray& d) { d.replace("istambul.htm", "istambux.htm"); },
             {}},
            {u"other-rows"_s, {}, madeOf(fixtures::jetFile(u"lex-jet4-2003.mdb"_s))},
            {u"swapped"_s, {}, madeOf(swapped)},
            {u"deleted"_s, {}, madeOf(deleted)},
            {u"zero"_s, {}, linkTo(u"/dev/zero"_s)},
            {u"fifo"_s,
             {},
             [](const QString& at, const QString&) {
                 return QFile::remove(at) && mkfifo(QFile::encodeName(at).constData(), 0600) == 0;
             }},
            {u"folder"_s,
             {},
             [](const QString& at, const QString&) {
                 return QFile::remove(at) && QDir().mkdir(at);
             }},
            {u"link"_s,
             {},
             [](const QString& at, const QString&) {
                 return QFile::rename(at, at + u".real"_s) && QFile::link(at + u".real"_s, at);
             }},
            {u"longer"_s,
             {},
             [](const QString& at, const QString&) {
                 QFile file(at);
                 return file.open(QIODevice::ReadWrite) && file.resize(file.size() + (8 << 20));
             }},
        };
        for (const auto& row : rows) {
            const QString copy = copyWithLookup(dir_, jet4, row.name);
            const QString at = JetKeyLookups::pathFor(copy);
            QByteArray lookup = testing::readBytes(at);
            QByteArray database = testing::readBytes(copy);
            const QByteArray sound = database;
            if (row.change) row.change(lookup, database);
            QVERIFY(testing::writeBytes(at, lookup));
            QVERIFY(!row.plant || row.plant(at, copy));
            if (database != sound) {
                QFile changed(copy);
                const QDateTime made = QFileInfo(copy).lastModified();
                QVERIFY(testing::writeBytes(copy, database) && changed.open(QIODevice::ReadWrite) &&
                        changed.setFileTime(made.addSecs(2), QFileDevice::FileModificationTime));
            }
            const qint64 before = bytesRead();
            JetKeyLookups().lookupFor(JetFile(copy));
            QCOMPARE_LT(bytesRead() - before, qint64(1) << 20);
            const QStringList walked = readEverything(copy);
            QCOMPARE(readEverything(copy, &besideOnly_), walked);
            JetKeyLookups building(JetKeyLookups::Missing::Build);
            QCOMPARE(readEverything(copy, &building), walked);
            QVERIFY2(!QFileInfo(at).isSymLink(), qPrintable(row.name));
        }
    }
};

QTEST_GUILESS_MAIN(JetLookups)
#include "test_jet_lookups.moc"
