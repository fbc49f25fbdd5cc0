// The search engine through real indexes built from the Portuguese corpus.

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "SearchTestSupport.h"
#include "platform/XapianQueryBuilder.h"
#include "platform/XapianSearchEngine.h"

using namespace lumera;
using namespace lumera::testing;

class TestSearchEngine : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir install_;
    QString installPath_;  // as the program holds InstallPath: with its separator
    XapianSearchEngineFactory factory_;

    std::shared_ptr<ResultList> search(const QString& request,
                                       SearchCallbacks* callbacks = nullptr) {
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(*job, request, installPath_, callbacks);
        // On a sound index no request fails, not even one that finds nothing
        // or that is no query at all.
        [&] { QVERIFY2(job->failure().isEmpty(), qPrintable(request)); }();
        return job->Results();
    }
    QStringList found(const QString& request) { return resultFileNames(*search(request)); }

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY(install_.isValid());
        installPath_ = install_.path() + u'/';
        installIndex(install_.path(), corpusRecords());
    }

    void readerFindsWhatItTypes_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("expected");
        const QStringList aguaArticles = {"agua.htm", "copo-dagua.htm"};
        // Accents and letter case.
        QTest::newRow("agua finds Água") << "agua" << aguaArticles;
        QTest::newRow("ÁGUA in capitals") << "ÁGUA" << aguaArticles;
        QTest::newRow("SAO PAULO") << "SAO PAULO" << QStringList{"sao-paulo.htm"};
        QTest::newRow("coracao") << "coracao" << QStringList{"coracao.htm"};
        QTest::newRow("coração") << "coração" << QStringList{"coracao.htm"};
        QTest::newRow("Canção with accents on the index only")
            << "cancao" << QStringList{"cancao.htm"};
        // Stemming, also of plurals the stemmer alone leaves apart.
        QTest::newRow("copos finds copo") << "copos" << QStringList{"copo-dagua.htm", "copo.htm"};
        QTest::newRow("rios finds rio")
            << "rios" << QStringList{"rio-amazonas.htm", "sao-paulo.htm"};
        QTest::newRow("leão finds leões") << "leão" << QStringList{"leao.htm"};
        QTest::newRow("leao finds leões") << "leao" << QStringList{"leao.htm"};
        // The accented stem reached by a word typed without accents.
        const QStringList information = {"biblioteca.htm", "informacao.htm"};
        QTest::newRow("informação") << "informação" << information;
        QTest::newRow("informações") << "informações" << information;
        QTest::newRow("informacao") << "informacao" << information;
        QTest::newRow("informacoes") << "informacoes" << information;
        // All words must match.
        QTest::newRow("all words")
            << "cidade paulista" << QStringList{"santos.htm", "sao-paulo.htm"};
        QTest::newRow("one word missing") << "cidade paulista savana" << QStringList{};
        // Phrases.
        QTest::newRow("words of a name")
            << "todos os santos" << QStringList{"baia-todos-santos.htm", "santos.htm"};
        QTest::newRow("phrase with stop words")
            << "\"baía de todos os santos\"" << QStringList{"baia-todos-santos.htm"};
        QTest::newRow("phrase folded")
            << "\"BAIA DE TODOS OS SANTOS\"" << QStringList{"baia-todos-santos.htm"};
        QTest::newRow("phrase in another order") << "\"baía de santos todos\"" << QStringList{};
        QTest::newRow("phrase over an inline tag")
            << "\"populosa do brasil\"" << QStringList{"sao-paulo.htm"};
        QTest::newRow("stop words do not block")
            << "a substância da terra" << QStringList{"agua.htm"};
        // Prefixes.
        QTest::newRow("bras*") << "bras*"
                               << QStringList{"brasil.htm", "brasilia.htm", "cancao.htm",
                                              "sao-paulo.htm"};
        QTest::newRow("BRASÍLI*") << "BRASÍLI*" << QStringList{"brasilia.htm"};
        // Operators, in capitals only.
        const QStringList aguaOrHeart = {"agua.htm", "copo-dagua.htm", "coracao.htm"};
        QTest::newRow("OU") << "água OU coração" << aguaOrHeart;
        QTest::newRow("OR") << "agua OR coracao" << aguaOrHeart;
        QTest::newRow("lower-case ou is a stop word") << "água ou coração" << QStringList{};
        QTest::newRow("E") << "água E cortesia" << QStringList{"copo-dagua.htm"};
        QTest::newRow("AND") << "água AND cortesia" << QStringList{"copo-dagua.htm"};
        QTest::newRow("NÃO") << "água NÃO cortesia" << QStringList{"agua.htm"};
        QTest::newRow("NAO") << "água NAO cortesia" << QStringList{"agua.htm"};
        QTest::newRow("NOT") << "água NOT cortesia" << QStringList{"agua.htm"};
        QTest::newRow("-palavra") << "água -cortesia" << QStringList{"agua.htm"};
        QTest::newRow("operator inside a phrase is a word") << "\"copo E água\"" << QStringList{};
        QTest::newRow("brackets") << "(salvador OU planalto) E capital"
                                  << QStringList{"baia-todos-santos.htm", "brasilia.htm"};
        // Text that is not shown.
        QTest::newRow("script text") << "salgado" << QStringList{};
        QTest::newRow("style text") << "navy" << QStringList{};
        QTest::newRow("comment text") << "revisar" << QStringList{};
        QTest::newRow("entity-decoded text") << "tietê" << QStringList{"sao-paulo.htm"};
    }
    void readerFindsWhatItTypes() {
        QFETCH(QString, request);
        QFETCH(QStringList, expected);
        QCOMPARE(found(request), expected);
    }

    void anyInputIsAnswered_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("blanks") << "   \t " << QStringList{};
        QTest::newRow("punctuation only") << "!?.,;:()[]{}<>" << QStringList{};
        QTest::newRow("unbalanced quote")
            << "\"baía de todos" << QStringList{"baia-todos-santos.htm"};
        QTest::newRow("lone OU") << "OU" << QStringList{};
        QTest::newRow("lone NÃO") << "NÃO" << QStringList{};
        QTest::newRow("trailing E")
            << "santos E" << QStringList{"baia-todos-santos.htm", "santos.htm"};
        QTest::newRow("leading OU") << "OU coração" << QStringList{"coracao.htm"};
        QTest::newRow("operators only") << "E OU NÃO AND" << QStringList{};
        QTest::newRow("unbalanced bracket") << "(coração" << QStringList{"coracao.htm"};
        QTest::newRow("closing bracket") << "coração)" << QStringList{"coracao.htm"};
        QTest::newRow("lone star") << "*" << QStringList{};
        QTest::newRow("lone minus") << "-" << QStringList{};
        QTest::newRow("control characters")
            << QString("cora\u0001\u0007ção\u001b") << QStringList{};
        QTest::newRow("control characters between words")
            << QString("coração\u0000\u001fsangue") << QStringList{"coracao.htm"};
        QTest::newRow("tab and newline") << "coração\n\tsangue" << QStringList{"coracao.htm"};
        QTest::newRow("10 KB of words")
            << QString("coração ").repeated(1300) << QStringList{"coracao.htm"};
        QTest::newRow("one word of 10 KB") << QString(10000, u'a') << QStringList{};
        QTest::newRow("smart quotes")
            << "“baía de todos os santos”" << QStringList{"baia-todos-santos.htm"};
        QTest::newRow("emoji and symbols") << "💧 água ½" << QStringList{};
        QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) + QStringLiteral("água")
                                        << QStringList{"agua.htm", "copo-dagua.htm"};
        QTest::newRow("field syntax") << "title:água" << QStringList{};
        QTest::newRow("many stars") << "a* b* c* d* e* f* g*" << QStringList{};
    }
    void anyInputIsAnswered() {
        QFETCH(QString, request);
        QFETCH(QStringList, expected);
        // Some of these have no single right answer; what matters is that
        // they are answered, and the answer is checked so that a change is seen.
        QCOMPARE(found(request), expected);
    }

    void resultsCarryTitleAndIndexedPath() {
        const auto results = search(QStringLiteral("paulista"));
        QCOMPARE(results->Count(), 2);
        QStringList documents;
        for (int i = 0; i < results->Count(); ++i) {
            results->GetNthDoc(i);
            documents << results->DocDetailItem(QStringLiteral("_shortname")) + u'|' +
                             results->DocDetailItem(QStringLiteral("_filename"));
        }
        documents.sort();
        QCOMPARE(documents, (QStringList{"Santos|C:\\lex\\tomo98c\\santos.htm",
                                         "São Paulo|C:\\lex\\tomo98b\\sao-paulo.htm"}));

        results->GetNthDoc(0);
        QCOMPARE(results->DocDetailItem(QStringLiteral("_size")), QString());
        results->GetNthDoc(results->Count());
        QCOMPARE(results->DocDetailItem(QStringLiteral("_shortname")), QString());
        results->GetNthDoc(-1);
        QCOMPARE(results->DocDetailItem(QStringLiteral("_filename")), QString());
    }

    void titleWithApostropheAsThePageShowsIt() {
        const auto results = search(QStringLiteral("cortesia"));
        QCOMPARE(results->Count(), 1);
        results->GetNthDoc(0);
        QCOMPARE(results->DocDetailItem(QStringLiteral("_shortname")), QString("Copo dágua"));
    }

    void unusableIndexGivesEmptyList_data() {
        QTest::addColumn<QString>("listText");  // null: no list file at all
        QTest::addColumn<bool>("makeIndexFolder");
        QTest::addColumn<QString>("logged");
        QTest::newRow("no list file") << QString() << false << "was not found";
        QTest::newRow("empty list") << "\n\n" << false << "names no index";
        QTest::newRow("list names a missing folder") << "indice\n" << false << "not a folder";
        QTest::newRow("folder is no index") << "indice\n" << true << "cannot be opened";
        QTest::newRow("index files scrambled") << "../scrambled/indice\n"
                                               << false << "cannot be opened";
        QTest::newRow("one good, one missing") << "../good\nfalta\n" << false << "not a folder";
    }
    void unusableIndexGivesEmptyList() {
        QFETCH(QString, listText);
        QFETCH(bool, makeIndexFolder);
        QFETCH(QString, logged);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("install")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("good")));
        installIndex(dir.filePath(QStringLiteral("good")), {});
        // A real index whose every file is overwritten with other bytes.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("scrambled")));
        installIndex(dir.filePath(QStringLiteral("scrambled")), corpusRecords());
        const QDir scrambled(dir.filePath(QStringLiteral("scrambled/indice")));
        QVERIFY(!scrambled.entryList(QDir::Files).isEmpty());
        for (const QString& name : scrambled.entryList(QDir::Files)) {
            QFile file(scrambled.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(file.size(), '\x5a'));
        }
        const QString install = dir.filePath(QStringLiteral("install"));
        if (makeIndexFolder) QVERIFY(QDir(install).mkpath(QStringLiteral("indice")));
        if (!listText.isNull()) {
            QFile list(install + QStringLiteral("/search.lst"));
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write(listText.toUtf8());
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(logged)));
        RecordingCallbacks callbacks;
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("água"), install + u'/', &callbacks);
        QCOMPARE(job->Results()->Count(), 0);
        QCOMPARE(callbacks.count(QStringLiteral("Found")), 0);
        QVERIFY2(job->failure().startsWith(u"Não foi possível pesquisar: o índice de pesquisa"),
                 qPrintable(job->failure()));
    }

    void missingIndexFolderSettingGivesEmptyList() {
        const auto job = factory_.create()->NewSearchJob();
        job->Put(JobId::kRequest, QStringLiteral("água"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no index folder"));
        job->Invoke(JobId::kExecute);
        QCOMPARE(job->Results()->Count(), 0);
        QVERIFY(!job->failure().isEmpty());
    }

    void windowsInstallPathGoesThroughTheResolver() {
        QStringList asked;
        XapianSearchEngineFactory factory([&](const QString& path) {
            asked << path;
            return path == u"C:\\lex\\search.lst" ? installPath_ + QStringLiteral("search.lst")
                                                  : QString();
        });
        const auto job = factory.create()->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("coração"), QStringLiteral("C:\\lex\\"), nullptr);
        QCOMPARE(asked, QStringList{"C:\\lex\\search.lst"});
        QCOMPARE(resultFileNames(*job->Results()), QStringList{"coracao.htm"});
        // Without its trailing backslash the folder still names the same list.
        const auto second = factory.create()->NewSearchJob();
        runLikeTheProgram(*second, QStringLiteral("coração"), QStringLiteral("C:\\lex"), nullptr);
        QCOMPARE(second->Results()->Count(), 1);
    }

    void callbacksOfARun() {
        RecordingCallbacks callbacks;
        const auto results = search(QStringLiteral("cidade"), &callbacks);
        QCOMPARE(results->Count(), 2);
        QCOMPARE(callbacks.calls.value(0), QString("Searching cidade"));
        QVERIFY(callbacks.abortChecks >= 1);
        QCOMPARE(callbacks.count(QStringLiteral("Found ")), 2);
        QCOMPARE(callbacks.count(QStringLiteral("FoundAtEnd")), 0);
        QVERIFY(callbacks.calls.contains(QStringLiteral("Found São Paulo")));
    }

    void abortAtOnceStopsWithNothingFound() {
        RecordingCallbacks callbacks;
        callbacks.abortAnswer = [](int) { return 1; };
        const auto results = search(QStringLiteral("cidade"), &callbacks);
        QCOMPARE(results->Count(), 0);
        QCOMPARE(callbacks.abortChecks, 1);
        QCOMPARE(callbacks.count(QStringLiteral("Found")), 0);
    }

    void abortDuringALongRunKeepsResultsSoFar() {
        QTemporaryDir dir;
        std::vector<IndexRecord> records;
        constexpr int kArticles = 3000;
        for (int i = 0; i < kArticles; ++i) {
            records.push_back({QStringLiteral("v%1.htm").arg(i),
                               QStringLiteral("Verbete %1").arg(i),
                               QStringLiteral("<p>Texto comum do verbete número %1.</p>").arg(i),
                               QStringLiteral("tomo98a")});
        }
        installIndex(dir.path(), records);

        // Every document reported takes a while, so the run has to ask about
        // stopping several times before its end.
        RecordingCallbacks callbacks;
        callbacks.onFound = [] { QThread::usleep(300); };
        const int stopAt = 3;
        callbacks.abortAnswer = [&](int n) { return n >= stopAt ? 1 : 0; };
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("comum"), dir.path() + u'/', &callbacks);

        const int count = job->Results()->Count();
        QVERIFY2(count > 0 && count < kArticles, qPrintable(QString::number(count)));
        QCOMPARE(callbacks.abortChecks, stopAt);
        QCOMPARE(callbacks.calls.last(), QString("CheckForAbort"));
        QCOMPARE(callbacks.count(QStringLiteral("Found ")), count);

        // Without a stop the count is exact, every document found.
        const auto all = factory_.create()->NewSearchJob();
        runLikeTheProgram(*all, QStringLiteral("comum"), dir.path() + u'/', nullptr);
        QCOMPARE(all->Results()->Count(), kArticles);
    }

    void resultListOutlivesEngineAndJob() {
        auto engine = factory_.create();
        auto job = engine->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("paulista"), installPath_, nullptr);
        const std::shared_ptr<ResultList> results = job->Results();
        engine.reset();
        QCOMPARE(results->Count(), 2);
        job.reset();
        QCOMPARE(resultFileNames(*results), (QStringList{"santos.htm", "sao-paulo.htm"}));
        results->GetNthDoc(1);
        QVERIFY(results->DocDetailItem(QStringLiteral("_filename")).startsWith(u"C:\\lex\\"));
    }

    void jobDroppedDuringItsOwnRun() {
        auto job = factory_.create()->NewSearchJob();
        RecordingCallbacks callbacks;
        // A window event handled inside the run starts a new lookup, which
        // replaces the program's job.
        callbacks.abortAnswer = [&](int) {
            job = factory_.create()->NewSearchJob();
            return 0;
        };
        const std::weak_ptr<SearchJob> first = job;
        runLikeTheProgram(*job, QStringLiteral("paulista"), installPath_, &callbacks);
        QVERIFY(first.expired());
        QCOMPARE(callbacks.count(QStringLiteral("Found ")), 2);
    }

    void settingsInAnyOrderUnknownIdsIgnored() {
        RecordingCallbacks callbacks;
        const auto job = factory_.create()->NewSearchJob();
        QCOMPARE(job->Results()->Count(), 0);  // before any run
        job->Put(21, &callbacks);
        job->Put(99, QStringLiteral("?"));
        job->Put(-4, true);
        job->Put(10, QStringLiteral("search.lst"));
        job->Put(12, QStringLiteral("não usado"));
        job->Put(7, QStringLiteral("texto onde se espera número"));
        job->Put(6, installPath_);
        job->Put(12, QStringLiteral("paulista"));  // the last value counts
        job->Put(3, std::int16_t(-1));
        job->Invoke(22);
        job->Invoke(7);
        QCOMPARE(job->Results()->Count(), 0);
        job->Invoke(23);
        QCOMPARE(resultFileNames(*job->Results()), (QStringList{"santos.htm", "sao-paulo.htm"}));
        QCOMPARE(callbacks.calls.value(0), QString("Searching paulista"));
    }

    void listFileDefaultsToSearchLst() {
        const auto job = factory_.create()->NewSearchJob();
        job->Put(JobId::kIndexFolder, installPath_);
        job->Put(JobId::kIndexListFile, EmptyValue());
        job->Put(JobId::kRequest, QStringLiteral("coração"));
        job->Invoke(JobId::kExecute);
        QCOMPARE(job->Results()->Count(), 1);
    }

    void aRunReplacesTheListOfTheRunBefore() {
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("paulista"), installPath_, nullptr);
        const auto before = job->Results();
        runLikeTheProgram(*job, QStringLiteral("coração"), installPath_, nullptr);
        QCOMPARE(job->Results()->Count(), 1);
        QCOMPARE(before->Count(), 2);
    }

    void shortPrefixStaysWithinItsExpansion() {
        QTemporaryDir dir;
        std::vector<IndexRecord> records;
        // 300 distinct words beginning with "pre", one article each.
        for (int i = 0; i < 300; ++i) {
            QString word = QStringLiteral("pre");
            for (int n = i; n > 0 || word.size() == 3; n /= 26) word += QChar(u'a' + n % 26);
            records.push_back(
                {QStringLiteral("p%1.htm").arg(i), word, word, QStringLiteral("tomo98a")});
        }
        installIndex(dir.path(), records);
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(*job, QStringLiteral("pre*"), dir.path() + u'/', nullptr);
        const int count = job->Results()->Count();
        QVERIFY2(count > 0 && count <= int(XapianQueryBuilder::kMaxWildcardExpansion),
                 qPrintable(QString::number(count)));
    }
};

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "test_search_engine.moc"
