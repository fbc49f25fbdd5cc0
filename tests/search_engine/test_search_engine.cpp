// The search engine through real indexes: folding, Portuguese stems and HTML
// text as the index holds them, requests as a reader types them on the
// Portuguese corpus, the engine's failures, aborts and lifetimes, and how an
// index is written and put in place.
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "SearchTestSupport.h"
#include "platform/IndexBuilder.h"
#include "platform/XapianIndexList.h"
#include "platform/XapianPortuguese.h"
#include "platform/XapianQueryBuilder.h"
#include "platform/XapianSearchEngine.h"
#include "platform/XapianSearchJob.h"
#include "platform/XapianTextFolding.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

namespace {

QString foldedStem(const QString& word) {
    return foldForSearch(fromUtf8(PortugueseStemmer().stem(toUtf8(word))));
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class TestSearchEngine : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir install_;
    QString installPath_;  // as the program holds InstallPath: with its separator
    XapianSearchEngineFactory factory_;

    std::shared_ptr<SearchJob> run(const QString& request, const QString& installPath,
                                   SearchCallbacks* callbacks = nullptr) {
        const auto job = factory_.create()->NewSearchJob();
        runLikeTheProgram(job, request, installPath, callbacks);
        return job;
    }
    // The file names found on the corpus; on a sound index no request fails,
    // not even one that finds nothing or that is no query at all.
    QStringList found(const QString& request, const QString& installPath = QString()) {
        const auto job = run(request, installPath.isEmpty() ? installPath_ : installPath);
        [&] { QVERIFY2(job->failure().isEmpty(), qPrintable(request)); }();
        return resultFileNames(*job->Results());
    }

  private Q_SLOTS:
    void initTestCase();
    void foldingStemsAndHtmlText();
    void readerFindsWhatItTypes();
    void resultsCarryTitleAndIndexedPath();
    void unusableIndexSaysSo();
    void windowsInstallPathGoesThroughTheResolver();
    void callbacksAndAborts();
    void jobsAndListsLiveAsLongAsTheyAreHeld();
    void shortPrefixStaysWithinItsExpansion();
    void buildingAnIndex();
    void installingAnIndex();
    void indexLists();
};

void TestSearchEngine::initTestCase() {
    QVERIFY(install_.isValid());
    installPath_ = install_.path() + u'/';
    installIndex(install_.path(), corpusRecords());
}

void TestSearchEngine::foldingStemsAndHtmlText() {
    const char16_t* const folds[][2] = {{u"Água", u"agua"},       {u"SÃO PAULO", u"sao paulo"},
                                        {u"CORAÇÃO", u"coracao"}, {u"a\u0301gua", u"agua"},
                                        {u"1º", u"1o"},           {u"ﬁm", u"fim"},
                                        {u"rio", u"rio"}};
    for (const auto& row : folds)
        QCOMPARE(foldForSearch(QString::fromUtf16(row[0])), QString::fromUtf16(row[1]));

    // One pair for each way Portuguese makes a plural.
    const char* const plurals[][2] = {
        {"rio", "rios"},  {"rei", "reis"},     {"homem", "homens"},
        {"fim", "fins"},  {"leão", "leões"},   {"cão", "cães"},
        {"mão", "mãos"},  {"papel", "papéis"}, {"animal", "animais"},
        {"sol", "sóis"},  {"flor", "flores"},  {"luz", "luzes"},
        {"mês", "meses"}, {"país", "países"},  {"português", "portugueses"}};
    for (const auto& pair : plurals)
        QCOMPARE(foldedStem(QString::fromUtf8(pair[1])), foldedStem(QString::fromUtf8(pair[0])));
    // Singular words ending in s keep it.
    QCOMPARE(PortugueseStemmer::singular("mês"), std::string("mês"));
    QCOMPARE(PortugueseStemmer::singular("três"), std::string("três"));
    QCOMPARE(PortugueseStemmer::singular("pais"), std::string("pai"));

    const char16_t* const html[][2] = {
        {u"&Aacute;gua &eacute; vida", u"Água é vida"},
        {u"cora&#231;&#xE3;o &#XE7;", u"coração ç"},
        {u"a&#150;b &#147;c&#148;", u"a–b “c”"},  // the Windows-1252 range
        {u"x&#0;y&#xD800;z", u"x\uFFFDy\uFFFDz"},
        {u"AT&T &foo; &#;", u"AT&T &foo; &#;"},
        {u"<b>Bra</b>sil e <FONT color=red>Bah</FONT>ia", u"Brasil e Bahia"},
        {u"fim<br>início", u"fim início"},
        {u"a<script>if (x < 1) y = '</p>';</script>b", u"a b"},
        {u"Bra<!-- nota <b> -->sil", u"Brasil"},
        {u"<!DOCTYPE html><?xml x?>texto", u"texto"},
        {u"<a title=\"a > b\" href='x>y'>link</a>", u"link"},
        {u"texto<p class=", u"texto"},
        {u"&#x1D11E;", u"\U0001D11E"},
    };
    for (const auto& row : html)
        QCOMPARE(HtmlText::plainText(QString::fromUtf16(row[0])), QString::fromUtf16(row[1]));
}

// Rows: the request and the file names found, sorted, joined by blanks.
void TestSearchEngine::readerFindsWhatItTypes() {
    const char16_t* const rows[][2] = {
        // Accents and letter case, in the request or only in the index.
        {u"agua", u"agua.htm copo-dagua.htm"},
        {u"ÁGUA", u"agua.htm copo-dagua.htm"},
        {u"SAO PAULO", u"sao-paulo.htm"},
        {u"coracao", u"coracao.htm"},
        {u"coração", u"coracao.htm"},
        {u"cancao", u"cancao.htm"},
        // Stems, also of plurals the stemmer alone leaves apart.
        {u"copos", u"copo-dagua.htm copo.htm"},
        {u"rios", u"rio-amazonas.htm sao-paulo.htm"},
        {u"leão", u"leao.htm"},
        {u"leao", u"leao.htm"},
        {u"informação", u"biblioteca.htm informacao.htm"},
        {u"informações", u"biblioteca.htm informacao.htm"},
        {u"informacao", u"biblioteca.htm informacao.htm"},
        {u"informacoes", u"biblioteca.htm informacao.htm"},
        // Every word must match; stop words do not block.
        {u"cidade paulista", u"santos.htm sao-paulo.htm"},
        {u"cidade paulista savana", u""},
        {u"todos os santos", u"baia-todos-santos.htm santos.htm"},
        {u"a substância da terra", u"agua.htm"},
        // Phrases, of any quotation marks, one left open too.
        {u"\"baía de todos os santos\"", u"baia-todos-santos.htm"},
        {u"\"BAIA DE TODOS OS SANTOS\"", u"baia-todos-santos.htm"},
        {u"\"baía de santos todos\"", u""},
        {u"\"populosa do brasil\"", u"sao-paulo.htm"},
        {u"“baía de todos os santos”", u"baia-todos-santos.htm"},
        {u"\"baía de todos", u"baia-todos-santos.htm"},
        // Prefixes.
        {u"bras*", u"brasil.htm brasilia.htm cancao.htm sao-paulo.htm"},
        {u"BRASÍLI*", u"brasilia.htm"},
        // Operators, in capitals only; inside a phrase they are words.
        {u"água OU coração", u"agua.htm copo-dagua.htm coracao.htm"},
        {u"agua OR coracao", u"agua.htm copo-dagua.htm coracao.htm"},
        {u"água ou coração", u""},
        {u"água E cortesia", u"copo-dagua.htm"},
        {u"água AND cortesia", u"copo-dagua.htm"},
        {u"água NÃO cortesia", u"agua.htm"},
        {u"água NAO cortesia", u"agua.htm"},
        {u"água NOT cortesia", u"agua.htm"},
        {u"água -cortesia", u"agua.htm"},
        {u"\"copo E água\"", u""},
        {u"(salvador OU planalto) E capital", u"baia-todos-santos.htm brasilia.htm"},
        // Text that is not shown is not found.
        {u"salgado", u""},
        {u"navy", u""},
        {u"revisar", u""},
        {u"tietê", u"sao-paulo.htm"},
        // Requests that are not quite queries are answered all the same.
        {u"", u""},
        {u"!?.,;:()[]{}<>", u""},
        {u"OU", u""},
        {u"santos E", u"baia-todos-santos.htm santos.htm"},
        {u"OU coração", u"coracao.htm"},
        {u"E OU NÃO AND", u""},
        {u"(coração", u"coracao.htm"},
        {u"*", u""},
        {u"coração\n\tsangue", u"coracao.htm"},
        {u"title:água", u""},
    };
    for (const auto& row : rows)
        QCOMPARE(found(QString::fromUtf16(row[0])).join(u' '), QString::fromUtf16(row[1]));
    const std::pair<QString, const char*> builtRows[] = {
        {u"coração\u0000\u001fsangue"_s, "coracao.htm"},
        {u"coração "_s.repeated(1300), "coracao.htm"},
        {QString(10000, u'a'), ""},
        {QString(QChar(0xD83D)) + u"água"_s, "agua.htm copo-dagua.htm"}};
    for (const auto& [request, files] : builtRows)
        QCOMPARE(found(request).join(u' '), QString::fromUtf8(files));
}

void TestSearchEngine::resultsCarryTitleAndIndexedPath() {
    const auto results = run(u"paulista"_s, installPath_)->Results();
    QStringList documents;
    for (int i = 0; i < results->Count(); ++i) {
        results->GetNthDoc(i);
        documents << results->DocDetailItem(u"_shortname"_s) + u'|' +
                         results->DocDetailItem(u"_filename"_s);
    }
    documents.sort();
    QCOMPARE(documents, (QStringList{"Santos|C:\\lex\\tomo98c\\santos.htm",
                                     "São Paulo|C:\\lex\\tomo98b\\sao-paulo.htm"}));
    results->GetNthDoc(0);
    QCOMPARE(results->DocDetailItem(u"_size"_s), QString());
    results->GetNthDoc(results->Count());
    QCOMPARE(results->DocDetailItem(u"_shortname"_s), QString());
    // A title with an apostrophe is as the page shows it.
    const auto copo = run(u"cortesia"_s, installPath_)->Results();
    copo->GetNthDoc(0);
    QCOMPARE(copo->DocDetailItem(u"_shortname"_s), u"Copo dágua"_s);
}

void TestSearchEngine::unusableIndexSaysSo() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"good"_s));
    installIndex(dir.filePath(u"good"_s), {});
    // A real index whose every file is overwritten with other bytes.
    QVERIFY(QDir(dir.path()).mkpath(u"scrambled"_s));
    installIndex(dir.filePath(u"scrambled"_s), corpusRecords());
    const QDir scrambled(dir.filePath(u"scrambled/indice"_s));
    for (const QString& name : scrambled.entryList(QDir::Files)) {
        QVERIFY(writeBytes(scrambled.filePath(name),
                           QByteArray(QFileInfo(scrambled.filePath(name)).size(), '\x5a')));
    }
    const struct {
        QString list;  // null: no list file at all
        bool indexFolder;
        QString logged;
    } rows[] = {
        {QString(), false, u"was not found"_s},
        {u"\n\n"_s, false, u"names no index"_s},
        {u"indice\n"_s, false, u"not a folder"_s},
        {u"indice\n"_s, true, u"cannot be opened"_s},
        {u"../scrambled/indice\n"_s, false, u"cannot be opened"_s},
        {u"../good\nfalta\n"_s, false, u"not a folder"_s},
    };
    for (const auto& row : rows) {
        const QString install = dir.filePath(u"install"_s);
        QDir(install).removeRecursively();
        QVERIFY(QDir(dir.path()).mkpath(row.indexFolder ? u"install/indice"_s : u"install"_s));
        if (!row.list.isNull()) QVERIFY(writeBytes(install + u"/search.lst"_s, row.list.toUtf8()));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QRegularExpression::escape(row.logged)));
        RecordingCallbacks callbacks;
        const auto job = run(u"água"_s, install + u'/', &callbacks);
        QCOMPARE(job->Results()->Count(), 0);
        QCOMPARE(callbacks.count(u"Found"_s), 0);
        QVERIFY2(job->failure().startsWith(u"Não foi possível pesquisar: o índice de pesquisa"),
                 qPrintable(job->failure()));
    }
    // No index folder set at all.
    const auto job = factory_.create()->NewSearchJob();
    job->Put(JobId::kRequest, u"água"_s);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no index folder"_s));
    job->Invoke(JobId::kExecute);
    QCOMPARE(job->Results()->Count(), 0);
    QVERIFY(!job->failure().isEmpty());
}

void TestSearchEngine::windowsInstallPathGoesThroughTheResolver() {
    QStringList asked;
    XapianSearchEngineFactory factory([&](const QString& path) {
        asked << path;
        return path == u"C:\\lex\\search.lst" ? installPath_ + u"search.lst"_s : QString();
    });
    // With or without its trailing backslash the folder names the same list.
    for (const QString& folder : {u"C:\\lex\\"_s, u"C:\\lex"_s}) {
        const auto job = factory.create()->NewSearchJob();
        runLikeTheProgram(job, u"coração"_s, folder, nullptr);
        QCOMPARE(resultFileNames(*job->Results()), QStringList{u"coracao.htm"_s});
    }
    QCOMPARE(asked, (QStringList{u"C:\\lex\\search.lst"_s, u"C:\\lex\\search.lst"_s}));
    QCOMPARE(XapianSearchJob::indexListPath(u"/opt/lex"_s, u"search.lst"_s),
             u"/opt/lex/search.lst"_s);
    QCOMPARE(XapianSearchJob::indexListPath(u"/opt/lex/"_s, u"search.lst"_s),
             u"/opt/lex/search.lst"_s);
}

void TestSearchEngine::callbacksAndAborts() {
    RecordingCallbacks callbacks;
    QCOMPARE(run(u"cidade"_s, installPath_, &callbacks)->Results()->Count(), 2);
    QCOMPARE(callbacks.calls.value(0), u"Searching cidade"_s);
    QVERIFY(callbacks.abortChecks >= 1);
    QCOMPARE(callbacks.count(u"Found "_s), 2);
    QCOMPARE(callbacks.count(u"FoundAtEnd"_s), 0);
    QVERIFY(callbacks.calls.contains(u"Found São Paulo"_s));

    RecordingCallbacks stopAtOnce;
    stopAtOnce.abortAnswer = [](int) { return 1; };
    QCOMPARE(run(u"cidade"_s, installPath_, &stopAtOnce)->Results()->Count(), 0);
    QCOMPARE(stopAtOnce.abortChecks, 1);
    QCOMPARE(stopAtOnce.count(u"Found"_s), 0);

    // A long run asks about stopping several times and keeps what it found.
    QTemporaryDir dir;
    std::vector<IndexRecord> records;
    constexpr int kArticles = 3000;
    for (int i = 0; i < kArticles; ++i) {
        records.push_back({u"v%1.htm"_s.arg(i), u"Verbete %1"_s.arg(i),
                           u"<p>Texto comum do verbete número %1.</p>"_s.arg(i), u"tomo98a"_s});
    }
    installIndex(dir.path(), records);
    RecordingCallbacks slow;
    slow.onFound = [] { QThread::usleep(300); };
    slow.abortAnswer = [](int n) { return n >= 3 ? 1 : 0; };
    const int count = run(u"comum"_s, dir.path() + u'/', &slow)->Results()->Count();
    QVERIFY2(count > 0 && count < kArticles, qPrintable(QString::number(count)));
    QCOMPARE(slow.abortChecks, 3);
    QCOMPARE(slow.calls.last(), u"CheckForAbort"_s);
    QCOMPARE(slow.count(u"Found "_s), count);
    QCOMPARE(run(u"comum"_s, dir.path() + u'/')->Results()->Count(), kArticles);
}

void TestSearchEngine::jobsAndListsLiveAsLongAsTheyAreHeld() {
    auto engine = factory_.create();
    auto job = engine->NewSearchJob();
    runLikeTheProgram(job, u"paulista"_s, installPath_, nullptr);
    const std::shared_ptr<ResultList> results = job->Results();
    // A run replaces the list of the run before; the old list stays whole.
    runLikeTheProgram(job, u"coração"_s, installPath_, nullptr);
    QCOMPARE(job->Results()->Count(), 1);
    engine.reset();
    job.reset();
    QCOMPARE(resultFileNames(*results), (QStringList{"santos.htm", "sao-paulo.htm"}));

    // A window event handled inside the run starts a new lookup, which
    // replaces the program's job.
    job = factory_.create()->NewSearchJob();
    RecordingCallbacks callbacks;
    callbacks.abortAnswer = [&](int) {
        job = factory_.create()->NewSearchJob();
        return 0;
    };
    const std::weak_ptr<SearchJob> first = job;
    runLikeTheProgram(job, u"paulista"_s, installPath_, &callbacks);
    QVERIFY(first.expired());
    QCOMPARE(callbacks.count(u"Found "_s), 2);
}

void TestSearchEngine::shortPrefixStaysWithinItsExpansion() {
    QTemporaryDir dir;
    std::vector<IndexRecord> records;
    // 300 distinct words beginning with "pre", one article each.
    for (int i = 0; i < 300; ++i) {
        QString word = u"pre"_s;
        for (int n = i; n > 0 || word.size() == 3; n /= 26) word += QChar(u'a' + n % 26);
        records.push_back({u"p%1.htm"_s.arg(i), word, word, u"tomo98a"_s});
    }
    installIndex(dir.path(), records);
    const int count = run(u"pre*"_s, dir.path() + u'/')->Results()->Count();
    QVERIFY2(count > 0 && count <= int(XapianQueryBuilder::kMaxWildcardExpansion),
             qPrintable(QString::number(count)));
}

void TestSearchEngine::buildingAnIndex() {
    // Of records with one key the first is indexed.
    QTemporaryDir dir;
    {
        StagedIndex staged(dir.path());
        IndexBuilder builder(staged.buildPath());
        QVERIFY(builder.add({u"agua.htm"_s, u"Água"_s, u"<p>primeira versão</p>"_s, u"tomo98a"_s}));
        QVERIFY(
            !builder.add({u"AGUA.HTM"_s, u"Água 2"_s, u"<p>segunda versão</p>"_s, u"tomo98b"_s}));
        QVERIFY(builder.add({u"rio.htm"_s, u"Rio"_s, u"<p>versão do rio</p>"_s, u"tomo98a"_s}));
        builder.finish();
        QCOMPARE(builder.documentCount(), 2);
        QVERIFY(staged.install());
    }
    QCOMPARE(found(u"primeira"_s, dir.path() + u'/'), QStringList{u"agua.htm"_s});
    QCOMPARE(found(u"segunda"_s, dir.path() + u'/'), QStringList{});
    QCOMPARE(found(u"versao"_s, dir.path() + u'/'), (QStringList{u"agua.htm"_s, u"rio.htm"_s}));

    // Documents go in on a thread of their own, in batches: every one
    // arrives, in the order given, with its own text.
    QTemporaryDir batches;
    StagedIndex staged(batches.path());
    IndexBuilder builder(staged.buildPath(), IndexBuilder::Options{7});
    QStringList keys;
    const auto marker = [](int n) { return u"n%1"_s.arg(n, 3, 10, QLatin1Char('0')); };
    for (int i = 0; i < 150; ++i) {
        keys << u"a%1.htm"_s.arg(i, 3, 10, QLatin1Char('0'));
        QVERIFY(builder.add(
            {keys.last(), u"T"_s, u"<p>comum "_s + marker(i) + u"</p>"_s, u"tomo98a"_s}));
    }
    builder.finish();
    QCOMPARE(builder.documentCount(), 150);
    QVERIFY(staged.install());
    QCOMPARE(found(u"comum"_s, batches.path() + u'/'), keys);
    QCOMPARE(found(marker(149), batches.path() + u'/'), QStringList{keys[149]});
    QVERIFY_THROWS_EXCEPTION(IndexBuildError, IndexBuilder(u"/proc/lumera-index"_s));
}

void TestSearchEngine::installingAnIndex() {
    QTemporaryDir dir;
    // Leftovers of an interrupted run go; other folders stay.
    QVERIFY(QDir(dir.path()).mkpath(u".indice.novo-abc123/db"_s));
    QVERIFY(QDir(dir.path()).mkpath(u".indice.antigo-abc123"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"outra"_s));
    installIndex(dir.path(), {{u"velho.htm"_s, u"Velho"_s, u"conteúdo antigo"_s, u"tomo98a"_s}});
    QCOMPARE(entries(dir.path()), (QStringList{"indice", "outra", "search.lst"}));
    QCOMPARE(readBytes(dir.filePath(u"search.lst"_s)), QByteArray("indice\n"));
    // A build that ends without being installed, as a failed run does,
    // leaves the installed index.
    {
        StagedIndex staged(dir.path());
        IndexBuilder builder(staged.buildPath());
        builder.add({u"novo.htm"_s, u"Novo"_s, u"conteúdo recente"_s, u"tomo98a"_s});
    }
    QCOMPARE(found(u"conteudo"_s, dir.path() + u'/'), QStringList{u"velho.htm"_s});
    QCOMPARE(entries(dir.path()), (QStringList{"indice", "outra", "search.lst"}));
    // An installed one replaces it.
    installIndex(dir.path(), {{u"novo.htm"_s, u"Novo"_s, u"conteúdo recente"_s, u"tomo98a"_s}});
    QCOMPARE(found(u"conteudo"_s, dir.path() + u'/'), QStringList{u"novo.htm"_s});
    QCOMPARE(entries(dir.path()), (QStringList{"indice", "outra", "search.lst"}));

    StagedIndex nowhere(u"/nonexistent/lumera"_s);
    QVERIFY(nowhere.buildPath().isEmpty());
    QVERIFY(!nowhere.error().isEmpty());
    QVERIFY(!nowhere.install());
}

void TestSearchEngine::indexLists() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"a/b"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"c"_s));
    QVERIFY(writeBytes(dir.filePath(u"search.lst"_s), "a\\b\r\n\r\n  c  \r\n"));
    IndexListReading reading = readIndexList(dir.filePath(u"search.lst"_s));
    QCOMPARE(reading.error, QString());
    QCOMPARE(reading.folders, (QStringList{dir.filePath(u"a/b"_s), dir.filePath(u"c"_s)}));
    // A drive path goes through the resolver, and without one names nothing.
    QVERIFY(writeBytes(dir.filePath(u"drive.lst"_s), "X:\\indice\n"));
    reading = readIndexList(dir.filePath(u"drive.lst"_s), [&](const QString& path) {
        return path == u"X:\\indice" ? dir.filePath(u"c"_s) : QString();
    });
    QCOMPARE(reading.folders, QStringList{dir.filePath(u"c"_s)});
    reading = readIndexList(dir.filePath(u"drive.lst"_s));
    QVERIFY(!reading.error.isEmpty());
    QVERIFY(reading.folders.isEmpty());
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "test_search_engine.moc"
