// Text folding, Portuguese stems, HTML text, and how an index is written and
// put in place.

#include <QTemporaryDir>
#include <QtTest>

#include "SearchTestSupport.h"
#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"
#include "platform/XapianPortuguese.h"
#include "platform/XapianSearchEngine.h"
#include "platform/XapianSearchJob.h"
#include "platform/XapianTextFolding.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

QString foldedStem(const QString& word) {
    const PortugueseStemmer stemmer;
    return foldForSearch(fromUtf8(stemmer.stem(toUtf8(word))));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList search(const QString& installDir, const QString& request) {
    XapianSearchEngineFactory factory;
    const auto job = factory.create()->NewSearchJob();
    runLikeTheProgram(*job, request, installDir + u'/', nullptr);
    return resultFileNames(*job->Results());
}

}  // namespace

class TestIndexBuilder : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void folding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("accent and capital") << "Água"
                                            << "agua";
        QTest::newRow("capitals") << "SÃO PAULO"
                                  << "sao paulo";
        QTest::newRow("cedilla and tilde") << "CORAÇÃO"
                                           << "coracao";
        QTest::newRow("decomposed input") << QString("a\u0301gua") << "agua";
        QTest::newRow("ordinal") << "1º"
                                 << "1o";
        QTest::newRow("ligature") << "ﬁm"
                                  << "fim";
        QTest::newRow("plain") << "rio"
                               << "rio";
    }
    void folding() {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(foldForSearch(text), folded);
    }

    void singularAndPluralShareAStem_data() {
        QTest::addColumn<QString>("singular");
        QTest::addColumn<QString>("plural");
        const QList<std::pair<const char*, const char*>> pairs = {{"rio", "rios"},
                                                                  {"copo", "copos"},
                                                                  {"rei", "reis"},
                                                                  {"lei", "leis"},
                                                                  {"ilha", "ilhas"},
                                                                  {"rua", "ruas"},
                                                                  {"homem", "homens"},
                                                                  {"nuvem", "nuvens"},
                                                                  {"fim", "fins"},
                                                                  {"leão", "leões"},
                                                                  {"nação", "nações"},
                                                                  {"cão", "cães"},
                                                                  {"mão", "mãos"},
                                                                  {"papel", "papéis"},
                                                                  {"animal", "animais"},
                                                                  {"sol", "sóis"},
                                                                  {"herói", "heróis"},
                                                                  {"flor", "flores"},
                                                                  {"luz", "luzes"},
                                                                  {"mês", "meses"},
                                                                  {"país", "países"},
                                                                  {"gás", "gases"},
                                                                  {"informação", "informações"},
                                                                  {"cidade", "cidades"},
                                                                  {"português", "portugueses"},
                                                                  {"francês", "franceses"},
                                                                  {"mar", "mares"},
                                                                  {"vez", "vezes"}};
        for (const auto& [singular, plural] : pairs) {
            QTest::newRow(plural) << QString::fromUtf8(singular) << QString::fromUtf8(plural);
        }
    }
    void singularAndPluralShareAStem() {
        QFETCH(QString, singular);
        QFETCH(QString, plural);
        QCOMPARE(foldedStem(plural), foldedStem(singular));
    }

    void singularWordsEndingInSAreKept() {
        QCOMPARE(PortugueseStemmer::singular("mês"), std::string("mês"));
        QCOMPARE(PortugueseStemmer::singular("três"), std::string("três"));
        QCOMPARE(PortugueseStemmer::singular("pais"), std::string("pai"));
        QCOMPARE(PortugueseStemmer::singular("mais"), std::string("mai"));
    }

    void htmlText_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::newRow("named references") << "&Aacute;gua &eacute; vida"
                                          << "Água é vida";
        QTest::newRow("decimal and hex") << "cora&#231;&#xE3;o &#XE7;"
                                         << "coração ç";
        QTest::newRow("Windows-1252 range") << "a&#150;b &#147;c&#148;"
                                            << "a–b “c”";
        QTest::newRow("invalid numbers") << "x&#0;y&#xD800;z"
                                         << "x\uFFFDy\uFFFDz";
        QTest::newRow("markup characters") << "&lt;b&gt; &amp; &quot;x&quot;"
                                           << "<b> & \"x\"";
        QTest::newRow("legacy name without semicolon") << "caf&eacute au lait"
                                                       << "café au lait";
        QTest::newRow("unknown reference kept") << "AT&T &foo; &#;"
                                                << "AT&T &foo; &#;";
        QTest::newRow("non-breaking space") << "São&nbsp;Paulo"
                                            << "São Paulo";
        QTest::newRow("tags dropped") << "<p>um</p><p>dois</p>"
                                      << "um dois";
        QTest::newRow("inline tags join") << "<b>Bra</b>sil e <FONT color=red>Bah</FONT>ia"
                                          << "Brasil e Bahia";
        QTest::newRow("line break separates") << "fim<br>início"
                                              << "fim início";
        QTest::newRow("script dropped") << "a<script>if (x < 1) y = '</p>';</script>b"
                                        << "a b";
        QTest::newRow("style dropped") << "a<STYLE type=text/css>p{}</STYLE>b"
                                       << "a b";
        QTest::newRow("title dropped") << "<title>Título</title>corpo"
                                       << "corpo";
        QTest::newRow("comment dropped") << "Bra<!-- nota <b> -->sil"
                                         << "Brasil";
        QTest::newRow("unclosed comment") << "texto<!-- resto"
                                          << "texto";
        QTest::newRow("doctype dropped") << "<!DOCTYPE html><?xml x?>texto"
                                         << "texto";
        QTest::newRow("quoted > in attribute") << "<a title=\"a > b\" href='x>y'>link</a>"
                                               << "link";
        QTest::newRow("lone less-than") << "1 < 2 e 3 <4"
                                        << "1 < 2 e 3 <4";
        QTest::newRow("unclosed tag") << "texto<p class="
                                      << "texto";
        QTest::newRow("blanks collapsed") << "  a \r\n\t b  "
                                          << "a b";
        QTest::newRow("characters beyond 16 bits")
            << "&#x1D11E;" << QString::fromUcs4(U"\U0001D11E");
    }
    void htmlText() {
        QFETCH(QString, html);
        QFETCH(QString, text);
        QCOMPARE(HtmlText::plainText(html), text);
    }

    void firstRecordOfAKeyWins() {
        QTemporaryDir dir;
        std::vector<IndexRecord> records = {
            {"agua.htm", "Água", "<p>primeira versão</p>", "tomo98a"},
            {"AGUA.HTM", "Água 2", "<p>segunda versão</p>", "tomo98b"},
            {"rio.htm", "Rio", "<p>versão do rio</p>", "tomo98a"}};
        StagedIndex staged(dir.path());
        IndexBuilder builder(staged.buildPath());
        QVERIFY(builder.add(records[0]));
        QVERIFY(!builder.add(records[1]));
        QVERIFY(builder.add(records[2]));
        builder.finish();
        QCOMPARE(builder.documentCount(), 2);
        QVERIFY(staged.install());
        QCOMPARE(search(dir.path(), "primeira"), QStringList{"agua.htm"});
        QCOMPARE(search(dir.path(), "segunda"), QStringList{});
        QCOMPARE(search(dir.path(), "versao"), (QStringList{"agua.htm", "rio.htm"}));
    }

    void manyBatchesLandInOrder() {
        // Documents are added on a thread of their own, in batches: every one
        // must arrive, in the order given, with its own text.
        QTemporaryDir dir;
        StagedIndex staged(dir.path());
        IndexBuilder builder(staged.buildPath(), IndexBuilder::Options{7});
        QStringList keys;
        auto marker = [](int n) { return QStringLiteral("n%1").arg(n, 3, 10, QLatin1Char('0')); };
        for (int i = 0; i < 150; ++i) {
            keys << QStringLiteral("a%1.htm").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY(builder.add({keys.last(), "T", "<p>comum " + marker(i) + "</p>", "tomo98a"}));
        }
        builder.finish();
        QCOMPARE(builder.documentCount(), 150);
        QVERIFY(staged.install());
        QCOMPARE(search(dir.path(), "comum"), keys);
        QCOMPARE(search(dir.path(), marker(0)), QStringList{keys[0]});
        QCOMPARE(search(dir.path(), marker(149)), QStringList{keys[149]});
    }

    void installedIndexReplacesTheOldOne() {
        QTemporaryDir dir;
        installIndex(dir.path(), {{"velho.htm", "Velho", "conteúdo antigo", "tomo98a"}});
        installIndex(dir.path(), {{"novo.htm", "Novo", "conteúdo recente", "tomo98a"}});
        QCOMPARE(search(dir.path(), "conteudo"), QStringList{"novo.htm"});
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"indice", "search.lst"}));
        QFile list(dir.filePath("search.lst"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("indice\n"));
    }

    void abandonedBuildLeavesTheInstalledIndex() {
        QTemporaryDir dir;
        installIndex(dir.path(), {{"velho.htm", "Velho", "conteúdo antigo", "tomo98a"}});
        {
            StagedIndex staged(dir.path());
            IndexBuilder builder(staged.buildPath());
            builder.add({"novo.htm", "Novo", "conteúdo recente", "tomo98a"});
            // Ends without finish() or install(), as a failed run does.
        }
        QCOMPARE(search(dir.path(), "conteudo"), QStringList{"velho.htm"});
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"indice", "search.lst"}));
    }

    void leftoversOfAnInterruptedRunAreRemoved() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(".indice.novo-abc123/db"));
        QVERIFY(QDir(dir.path()).mkpath(".indice.antigo-abc123"));
        QVERIFY(QDir(dir.path()).mkpath("outra"));
        installIndex(dir.path(), {{"a.htm", "A", "texto", "tomo98a"}});
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"indice", "outra", "search.lst"}));
    }

    void stagingNeedsAnExistingFolder() {
        StagedIndex staged(QStringLiteral("/nonexistent/lumera"));
        QVERIFY(staged.buildPath().isEmpty());
        QVERIFY(!staged.error().isEmpty());
        QVERIFY(!staged.install());
    }

    void openingAnUnwritablePlaceFails() {
        QVERIFY_THROWS_EXCEPTION(IndexBuildError, IndexBuilder("/proc/lumera-index"));
    }

    void indexListForms() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("a/b"));
        QVERIFY(QDir(dir.path()).mkpath("c"));
        writeFile(dir.filePath("search.lst"), "a\\b\r\n\r\n  c  \r\n");
        IndexListReading reading = readIndexList(dir.filePath("search.lst"));
        QCOMPARE(reading.error, QString());
        QCOMPARE(reading.folders, (QStringList{dir.filePath("a/b"), dir.filePath("c")}));

        writeFile(dir.filePath("drive.lst"), "X:\\indice\n");
        reading = readIndexList(dir.filePath("drive.lst"), [&](const QString& path) {
            return path == u"X:\\indice" ? dir.filePath("c") : QString();
        });
        QCOMPARE(reading.folders, QStringList{dir.filePath("c")});
        reading = readIndexList(dir.filePath("drive.lst"));
        QVERIFY(!reading.error.isEmpty());
        QVERIFY(reading.folders.isEmpty());
    }

    void indexListPathJoinsLikeTheProgram_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        QTest::newRow("Windows with separator") << "C:\\lex\\"
                                                << "C:\\lex\\search.lst";
        QTest::newRow("Windows without") << "C:\\lex"
                                         << "C:\\lex\\search.lst";
        QTest::newRow("POSIX with separator") << "/opt/lex/"
                                              << "/opt/lex/search.lst";
        QTest::newRow("POSIX without") << "/opt/lex"
                                       << "/opt/lex/search.lst";
    }
    void indexListPathJoinsLikeTheProgram() {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        QCOMPARE(XapianSearchJob::indexListPath(folder, QStringLiteral("search.lst")), joined);
    }
};

QTEST_GUILESS_MAIN(TestIndexBuilder)
#include "test_index_builder.moc"
