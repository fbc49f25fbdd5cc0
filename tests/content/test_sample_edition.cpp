#include <sqlite3.h>

#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "SampleSources.h"
#include "host/Windows1252.h"
#include "support/FileBytes.h"

using lumera::sample::ArticleSource;
using lumera::sample::MediaRow;
using lumera::testing::readBytes;

namespace {

QString sourcePath(const QString& relative) {
    return QDir(qEnvironmentVariable("LUMERA_SOURCE_DIR")).filePath(relative);
}
QString sampleDir() { return sourcePath(QStringLiteral("content/sample")); }
QString cdRoot() { return sourcePath(QStringLiteral("content/sample/cd")); }

// The CD's file system ignored letter case, and so does the reader's lookup.
QString findIgnoringCase(const QString& root, const QString& relative) {
    QString current = root;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            current = QFileInfo(current).path();
            continue;
        }
        QString found;
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            if (entry.compare(part, Qt::CaseInsensitive) == 0) found = entry;
        if (found.isEmpty()) return {};
        current = QDir(current).filePath(found);
    }
    return current;
}

QStringList textFilesOfTheCd() {
    QStringList files;
    QDirIterator it(cdRoot(),
                    {QStringLiteral("*.htm"), QStringLiteral("*.html"), QStringLiteral("*.css")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(it.next());
    files.sort();
    return files;
}

// An article in the shape the page assembly reads, with one line to vary.
QString article(const QString& bodyLine,
                const QString& titleLine = QStringLiteral("<title>Ilha</title>"),
                const QString& anchorLine = QStringLiteral("<a name=\"ilha\"></a></p>")) {
    return QStringList{QStringLiteral("<html><head>"),       titleLine,
                       QStringLiteral("</head><body>"),      anchorLine,
                       QStringLiteral("<p><b>Ilha</b></p>"), bodyLine,
                       QStringLiteral("</BODY></HTML>")}
        .join(QStringLiteral("\r\n"));
}

}  // namespace

class SampleEditionTest : public QObject {
    Q_OBJECT

  private:
    QVector<ArticleSource> articles_;
    QVector<MediaRow> media_;

  private Q_SLOTS:
    void initTestCase() {
        QStringList problems;
        articles_ =
            lumera::sample::readArticles(sampleDir() + QStringLiteral("/articles"), &problems);
        media_ = lumera::sample::readMediaTable(sampleDir() + QStringLiteral("/articles/fotos.tsv"),
                                                &problems);
        QCOMPARE(problems.join(QLatin1Char('\n')), QString());
        QVERIFY(articles_.size() >= 40);
        QVERIFY(!media_.isEmpty());
    }

    void shapeCheckFindsWhatBreaksPageAssembly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        QTest::newRow("good") << article(QStringLiteral("<p>Uma ilha.</p>")) << QString();
        QTest::newRow("head tags on the title line")
            << article(QStringLiteral("<p>x</p>"),
                       QStringLiteral("<head><title>Ilha</title></head>"))
            << QStringLiteral("title line");
        QTest::newRow("placeholder in the title")
            << article(QStringLiteral("<p>x</p>"), QStringLiteral("<title>Texto antigo</title>"))
            << QStringLiteral("placeholder Texto");
        QTest::newRow("paragraph around the anchor")
            << article(QStringLiteral("<p>x</p>"), QStringLiteral("<title>Ilha</title>"),
                       QStringLiteral("<p><a name=\"ilha\"></a></p>"))
            << QStringLiteral("anchor line");
        QTest::newRow("body line with title") << article(QStringLiteral("<p title=\"a\">x</p>"))
                                              << QStringLiteral("\"title\" or \"name=\"");
        QTest::newRow("body line with an anchor")
            << article(QStringLiteral("<p><a name=\"b\"></a></p>"))
            << QStringLiteral("\"title\" or \"name=\"");
        QTest::newRow("body line ending in a word")
            << article(QStringLiteral("<p>uma palavra")) << QStringLiteral("blank or a tag");
        QTest::newRow("placeholder in the body")
            << article(QStringLiteral("<p>FotosI</p>")) << QStringLiteral("placeholder FotosI");
        QTest::newRow("Unix line ends")
            << article(QStringLiteral("<p>x</p>"))
                   .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            << QStringLiteral("CR LF");
        QString noEnd = article(QStringLiteral("<p>x</p>"));
        noEnd.chop(QStringLiteral("\r\n</BODY></HTML>").size());
        QTest::newRow("no closing line") << noEnd << QStringLiteral("last line");
        QString noBold = article(QStringLiteral("<p>x</p>"));
        noBold.replace(QStringLiteral("<p><b>Ilha</b></p>"), QStringLiteral("<p>Ilha</p>"));
        QTest::newRow("no line opens the body") << noBold << QStringLiteral("<b>");
    }
    void shapeCheckFindsWhatBreaksPageAssembly() {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        const QString found = lumera::sample::checkArticleShape(text).join(QLatin1Char('\n'));
        if (problem.isEmpty())
            QCOMPARE(found, QString());
        else
            QVERIFY2(found.contains(problem), qPrintable(found));
    }

    void articlesShowEveryPageFeature() {
        bool longBody = false;
        bool apostrophe = false;
        bool inlinePicture = false;
        for (const ArticleSource& a : articles_) {
            const QStringList lines = a.text.split(QStringLiteral("\r\n"));
            qsizetype start = 0;
            while (!lines[start].contains(QStringLiteral("<b>"))) ++start;
            QString body = lines.mid(start + 1).join(QString());
            body.remove(QStringLiteral("</BODY></HTML>"));
            longBody |= body.size() > 1500;
            apostrophe |= a.title.contains(QLatin1Char('\''));
            inlinePicture |= a.text.contains(QStringLiteral("IMG SRC=\"Image")) &&
                             a.text.contains(QStringLiteral(".gif"));
            QCOMPARE(
                a.key.chopped(4),
                a.text.section(QStringLiteral("<a name=\""), 1).section(QLatin1Char('"'), 0, 0));
        }
        QVERIFY2(longBody, "no article shows the top link");
        QVERIFY2(apostrophe, "no title with an apostrophe");
        QVERIFY2(inlinePicture, "no article with a picture the page assembly rewrites");
    }

    void articleLinksNameArticles() {
        QSet<QString> keys;
        for (const ArticleSource& a : articles_) keys.insert(a.key);
        static const QRegularExpression link(
            QStringLiteral("href=\"\\.\\./tomo98[abc]/([^\"]+)\""));
        for (const ArticleSource& a : articles_)
            for (const auto& match : link.globalMatch(a.text))
                QVERIFY2(keys.contains(match.captured(1)),
                         qPrintable(a.key + " -> " + match.captured(1)));
        for (const QString& inline_ : {QStringLiteral("tomo98a/image/sete-cidades.gif")})
            QVERIFY(!findIgnoringCase(cdRoot() + QStringLiteral("/lex2000"), inline_).isEmpty());
    }

    void mediaRowsReachTheirFiles() {
        static const QSet<QString> kinds = {"afoto", "amod",   "aband", "agrafico",
                                            "amap",  "afilme", "asom"};
        QSet<QString> titles;
        QSet<QString> keys;
        for (const ArticleSource& a : articles_) {
            titles.insert(lumera::sample::titleWithoutApostrophes(a.title));
            keys.insert(a.key.toLower());
        }
        QSet<QString> kindsSeen;
        QSet<QString> formatsSeen;
        bool gifThumb = false;
        bool framedThumb = false;
        const QString lex2000 = cdRoot() + QStringLiteral("/lex2000");
        for (const MediaRow& row : media_) {
            const QString where = row.item + QStringLiteral(": ") + row.caption;
            QVERIFY2(kinds.contains(row.tipo), qPrintable(where));
            QVERIFY2(titles.contains(row.item), qPrintable(where + " has no article"));
            QVERIFY2(row.format == "V" || row.format == "H", qPrintable(where));
            kindsSeen.insert(row.tipo);
            formatsSeen.insert(row.format);
            gifThumb |= row.file.contains(QStringLiteral("gif"));
            framedThumb |= !row.file.contains(QStringLiteral("gif"));

            const QString thumb = lex2000 + QStringLiteral("/image/tumb/") + row.file;
            const QSize expected = row.format == "V" ? QSize(76, 101) : QSize(76, 54);
            QCOMPARE(QImageReader(thumb).size(), expected);

            // The reader links Param upper-cased with .JPG turned into .htm.
            QVERIFY(row.param.startsWith(QStringLiteral("/lex2000/")));
            const QString link =
                row.param.toUpper().replace(QStringLiteral(".JPG"), QStringLiteral(".htm"));
            QVERIFY2(!findIgnoringCase(cdRoot(), link).isEmpty(), qPrintable(link));
            if (row.param.endsWith(QStringLiteral(".jpg")))
                QVERIFY2(!findIgnoringCase(cdRoot(), row.param).isEmpty(), qPrintable(row.param));
            // A page name equal to an article key would be built as that article.
            QVERIFY2(!keys.contains(QFileInfo(link).fileName().toLower()), qPrintable(link));
        }
        QCOMPARE(kindsSeen, kinds);
        QCOMPARE(formatsSeen, (QSet<QString>{"V", "H"}));
        QVERIFY(gifThumb && framedThumb);
        for (const char* icon :
             {"foto", "audvis", "bandeira", "grafico", "mapa", "video", "audio", "website"})
            QCOMPARE(
                QImageReader(lex2000 + QStringLiteral("/image/ico/%1.gif").arg(QLatin1String(icon)))
                    .size(),
                QSize(32, 32));
        QCOMPARE(QImageReader(lex2000 + QStringLiteral("/gui/1px.gif")).format(),
                 QByteArray("gif"));
    }

    void templateHoldsEveryPlaceholderOnce() {
        const QByteArray bytes = readBytes(sampleDir() + QStringLiteral("/modelo-final.htm"));
        const QString text = lumera::windows1252::decode(bytes);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (const char* word : {"Header", "Titulov", "Nome", "Texto", "Topo1", "Topo2"})
            QCOMPARE(text.count(QLatin1String(word)), 1);
        QVERIFY(lines.contains(QStringLiteral("VejaTambém")));
        QVERIFY(lines.contains(QStringLiteral("FotosI")));
        QVERIFY(text.contains(QStringLiteral("<a name=\"topo\">")));
        QVERIFY(text.indexOf(QStringLiteral("VejaTambém")) < text.indexOf(QStringLiteral("Topo2")));
        // Every "d:" is replaced by the CD drive: it may only begin a CD path.
        static const QRegularExpression drive(QStringLiteral("d:(?!/lex2000/)"));
        QVERIFY2(!drive.match(text).hasMatch(), qPrintable(drive.match(text).captured(0)));
        QVERIFY(text.count(QStringLiteral("d:/lex2000/")) >= 2);
    }

    void textFilesAreWindows1252WithCrLf_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("lex.ini") << sampleDir() + QStringLiteral("/lex.ini");
        QTest::newRow("modelo-final.htm") << sampleDir() + QStringLiteral("/modelo-final.htm");
        for (const QString& file : textFilesOfTheCd())
            QTest::newRow(qPrintable(QDir(cdRoot()).relativeFilePath(file))) << file;
    }
    void textFilesAreWindows1252WithCrLf() {
        QFETCH(QString, path);
        const QByteArray bytes = readBytes(path);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            QVERIFY(!bytes.contains(undefined));
        // Accents written as UTF-8 would show as two characters each.
        const QString text = lumera::windows1252::decode(bytes);
        QVERIFY2(!text.contains(QStringLiteral("Ã")), "UTF-8 text in a Windows-1252 file");
    }

    void cdPagesLinkToExistingFiles() {
        static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
        QSet<QString> keys;
        for (const ArticleSource& a : articles_) keys.insert(a.key);
        for (const QString& page : textFilesOfTheCd()) {
            const QString text = lumera::windows1252::decode(readBytes(page));
            for (const auto& match : reference.globalMatch(text)) {
                const QString target = match.captured(1);
                // Addresses the router takes over rather than the browser.
                if (target.contains(QStringLiteral("VOLTA")) ||
                    target.contains(QStringLiteral(".tv")))
                    continue;
                if (target.contains(QStringLiteral("tomo98")) &&
                    !target.contains(QStringLiteral("/image/"))) {
                    QVERIFY2(keys.contains(QFileInfo(target).fileName()),
                             qPrintable(page + " -> " + target));
                    continue;
                }
                const QString file = findIgnoringCase(QFileInfo(page).path(), target);
                QVERIFY2(!file.isEmpty(), qPrintable(page + " -> " + target));
            }
        }
        const QString home =
            lumera::windows1252::decode(readBytes(cdRoot() + QStringLiteral("/lex2000/joia.htm")));
        QVERIFY(home.contains(QStringLiteral("<form action=\"dtsearch.asp\" method=\"get\">")));
        QVERIFY(home.contains(QStringLiteral("name=\"request\"")));
        QVERIFY(home.contains(QStringLiteral("<iframe src=\"menu-joia.htm\"")));
    }

    void databaseHoldsTheSources() {
        const QString path = QDir(qEnvironmentVariable("LUMERA_BUILD_DIR"))
                                 .filePath(QStringLiteral("sample/lex.mdb"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY,
                                 nullptr),
                 SQLITE_OK);
        auto column = [db](const char* sql) {
            QStringList values;
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return values;
            while (sqlite3_step(statement) == SQLITE_ROW)
                values.append(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
            sqlite3_finalize(statement);
            return values;
        };
        QStringList keys;
        QStringList texts;
        for (const ArticleSource& a : articles_) {
            keys.append(a.key);
            texts.append(a.text);
        }
        QCOMPARE(column("SELECT Arquivo FROM DatabaseV ORDER BY rowid"), keys);
        QCOMPARE(column("SELECT Verbete FROM DatabaseV ORDER BY rowid"), texts);
        QCOMPARE(column("SELECT Titulo FROM DatabaseV WHERE Arquivo='copo-dagua.htm'"),
                 QStringList{QStringLiteral("Copo d'água")});
        QStringList captions;
        for (const MediaRow& row : media_) captions.append(row.caption);
        QCOMPARE(column("SELECT Caption FROM Fotos ORDER BY Id"), captions);
        QCOMPARE(column("SELECT name FROM pragma_table_info('Fotos')"),
                 (QStringList{"Id", "Classe", "Item", "Caption", "Tipo", "Param", "File", "Right2",
                              "Format"}));
        sqlite3_close(db);
    }
};

QTEST_MAIN(SampleEditionTest)
#include "test_sample_edition.moc"
