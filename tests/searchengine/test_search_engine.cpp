// The search engine through real indexes: folding, Portuguese stems and HTML
// text as the index holds them, requests as a reader types them on the
// Portuguese corpus, in both formats of index, the engine's failures, aborts
// and lifetimes, and how an index is put in place.
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "SearchTestSupport.h"
#include "searchengine/HitWords.h"
#include "searchengine/HtmlText.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/XapianDetailsTable.h"
#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianIndexList.h"
#include "searchengine/XapianPortuguese.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianSearchEngine.h"
#include "searchengine/XapianTextFolding.h"
#include "searchengine/XapianWordLexicon.h"
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

// Rewrites the index of installDir with term lists, so that it can change,
// writes its details table, then changes it as another tool might: document
// 1 becomes a copy of document 2 and the last one goes. Documents keep their
// data, the titles and paths the search falls back on.
void changeAfterItsTable(const QString& installDir) {
    const QString folder = installDir + u"/indice"_s;
    const QString changeable = installDir + u"/mutavel"_s;
    {
        const Xapian::Database built(folder.toStdString());
        const auto table = DetailsTable::open(folder, built);
        QVERIFY(table);
        std::vector<Xapian::Document> documents(built.get_lastdocid());
        std::vector<IndexedDetails> details;
        for (Xapian::docid id = 1; id <= built.get_lastdocid(); ++id) {
            documents[id - 1].set_data(built.get_document(id).get_data());
            details.push_back({table->title(id).toString(), table->path(id).toString()});
        }
        for (auto term = built.allterms_begin(); term != built.allterms_end(); ++term) {
            for (auto post = built.postlist_begin(*term); post != built.postlist_end(*term); ++post)
                documents[*post - 1].add_term(*term);
        }
        Xapian::WritableDatabase copy(changeable.toStdString(), Xapian::DB_CREATE);
        for (const Xapian::Document& document : documents) copy.add_document(document);
        copy.close();
        DetailsTable::write(changeable, details);
        Xapian::WritableDatabase changed(changeable.toStdString(), Xapian::DB_OPEN);
        changed.replace_document(1, documents[1]);
        changed.delete_document(changed.get_lastdocid());
        changed.commit();
    }
    QVERIFY(QDir(folder).removeRecursively() && QDir().rename(changeable, folder));
}

}  // namespace

class TestSearchEngine : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir install_, asTerms_;
    QString installPath_;  // as the program holds InstallPath: with its separator
    XapianSearchEngineFactory factory_;

    std::shared_ptr<SearchJob> run(const QString& request, const QString& installPath,
                                   SearchCallbacks* callbacks = nullptr) {
        return runRequest(factory_, request, installPath, callbacks);
    }
    QStringList found(const QString& request, const QString& installPath = QString()) {
        return foundFiles(factory_, request, installPath.isEmpty() ? installPath_ : installPath);
    }

  private Q_SLOTS:
    void initTestCase();
    void foldingStemsHtmlTextAndMarks();
    void readerFindsWhatItTypes();
    void threadsAndDetailsTableChangeNoResult();
    void unusableIndexSaysSo();
    void callbacksAndAborts();
    void jobsAndListsLiveAsLongAsTheyAreHeld();
    void installingAnIndex();
};

void TestSearchEngine::initTestCase() {
    QVERIFY(install_.isValid());
    installPath_ = install_.path() + u'/';
    installIndex(install_.path(), corpusRecords());
    installIndex(asTerms_.path(), corpusRecords(), {.written = WrittenWordsKept::AsTerms});
}

void TestSearchEngine::foldingStemsHtmlTextAndMarks() {
    // One pair for each way Portuguese makes a plural.
    const char* const plurals[][2] = {
        {"rio", "rios"},  {"rei", "reis"},     {"homem", "homens"},
        {"fim", "fins"},  {"leão", "leões"},   {"cão", "cães"},
        {"mão", "mãos"},  {"papel", "papéis"}, {"animal", "animais"},
        {"sol", "sóis"},  {"flor", "flores"},  {"luz", "luzes"},
        {"mês", "meses"}, {"país", "países"},  {"português", "portugueses"}};
    for (const auto& pair : plurals)
        QCOMPARE(foldedStem(QString::fromUtf8(pair[1])), foldedStem(QString::fromUtf8(pair[0])));
    // Folding a character at a time below U+0100 folds as normalizing does,
    // also before marks and characters above.
    for (char16_t c = 0; c < 0x100; ++c) {
        for (const char16_t* next : {u"", u"\u0301", u"\u0323\u0308", u"\u0345", u"\u212B\u00C0"}) {
            const QString text = QString(QChar(c)) + QString::fromUtf16(next);
            QCOMPARE(foldForSearch(text), foldFully(text));
        }
    }
    // Singular words ending in s keep it.
    QCOMPARE(PortugueseStemmer::singular("mês"), std::string("mês"));
    QCOMPARE(PortugueseStemmer::singular("três"), std::string("três"));
    QCOMPARE(PortugueseStemmer::singular("pais"), std::string("pai"));

    const char16_t* const html[][2] = {
        {u"&Aacute;gua &eacute; vida", u"Água é vida"},
        {u"cora&#231;&#xE3;o &#XE7;", u"coração ç"},
        {u"a&#150;b &#147;c&#148;", u"a–b “c”"},  // the Windows-1252 range
        {u"<b>Bra</b>sil e <FONT color=red>Bah</FONT>ia", u"Brasil e Bahia"},
        {u"fim<br>início", u"fim início"},
        {u"a<script>if (x < 1) y = '</p>';</script>b", u"a b"},
        {u"Bra<!-- nota <b> -->sil", u"Brasil"},
        {u"<!DOCTYPE html><?xml x?>texto", u"texto"},
        {u"<a title=\"a > b\" href='x>y'>link</a>", u"link"},
        {u"texto<p class=", u"texto"},
    };
    for (const auto& row : html)
        QCOMPARE(HtmlText::plainText(QString::fromUtf16(row[0])), QString::fromUtf16(row[1]));

    // What a page marks of a request: every form of a word, accents or not;
    // a quoted phrase only where its words follow one another, as one mark.
    const char16_t* const marks[][3] = {
        {u"navegacoes", u"A navegação, as navegações; navegar.", u"navegar|navegação|navegações"},
        {u"\"rio amazonas\"", u"O Rio Amazonas nasce. Rio de Janeiro, Amazônia.", u"Rio Amazonas"},
        {u"\"rio de janeiro\" -brasil", u"Rio de Janeiro, no Brasil; o rio.", u"Rio de Janeiro"},
        {u"bras* \"copo\"", u"O Brasil e os brasileiros, um copo.", u"Brasil|brasileiros|copo"},
        // The typed spelling and the one searched in its stead: the page's own.
        {u"acção ação", u"A ação e as ações.", u"ação|ações"},
        {u"autoestima \"auto-estima\"", u"A auto-estima elevada; estima.", u"auto-estima"},
        {u"auto-estima", u"A auto-estima.", u"auto|estima"},
    };
    for (const auto& row : marks) {
        QStringList found = HitWords(QString::fromUtf16(row[0])).in(QString::fromUtf16(row[1]));
        found.sort();
        QCOMPARE(found.join(u'|'), QString::fromUtf16(row[2]));
    }
}

// Rows: the request and the file names found, sorted, joined by blanks; and
// where they differ, those an index of the words as terms finds, as indexes
// were built before the word lexicon: a prefix reaches every form of the
// stems of the words it begins.
void TestSearchEngine::readerFindsWhatItTypes() {
    const char16_t* const rows[][3] = {
        // Accents and letter case, in the request or only in the index.
        {u"agua", u"agua.htm copo-dagua.htm"},
        {u"ÁGUA", u"agua.htm copo-dagua.htm"},
        {u"a\u0301gua", u"agua.htm copo-dagua.htm"},  // the accent a character of its own
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
        // Forms the text lacks, typed with or without accents, in capitals.
        {u"independências", u"independencia.htm"},
        {u"independencias", u"independencia.htm"},
        {u"INDEPENDENCIAS", u"independencia.htm"},
        {u"independencia", u"independencia.htm"},
        {u"experiencias", u"independencia.htm"},
        {u"Experiências políticas", u"independencia.htm"},
        {u"\"experiência política\"", u"independencia.htm"},
        {u"\"experiencias politicas\"", u"independencia.htm"},
        {u"\"independencias\"", u"independencia.htm"},
        {u"independenc*", u"independencia.htm"},
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
        {u"BRASÍLI*", u"brasil.htm brasilia.htm sao-paulo.htm", u"brasilia.htm"},
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
        // Other spellings, when the index lacks the typed one: the agreement's
        // compounds both ways, Portugal's silent consonants and words both
        // ways, in phrases and with operators; never a pronounced consonant.
        {u"autoestima", u"autoestima.htm"},
        {u"\"autoestima elevada\"", u"autoestima.htm"},
        {u"contrarregra", u"autoestima.htm"},
        {u"micro-ondas", u"microondas.htm"},
        {u"ultra-som", u"microondas.htm"},
        {u"bilíngüe", u"arquitecto.htm"},
        {u"acção OU microondas", u"acao.htm microondas.htm"},
        {u"\"acção do governo\"", u"acao.htm"},
        {u"Direcção óptimo", u"acao.htm"},
        {u"facto registado", u"acao.htm"},
        {u"arquiteto diretor eletricidade", u"arquitecto.htm"},
        {u"projeto -edifício", u""},
        {u"pacto", u""},
        {u"rapto", u""},
        {u"apto", u""},
        {u"catar", u""},
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
        {u"santos++", u"baia-todos-santos.htm santos.htm"},  // no "santos++" in the index
        {u"OU coração", u"coracao.htm"},
        {u"E OU NÃO AND", u""},
        {u"(coração", u"coracao.htm"},
        {u"*", u""},
        {u"coração\n\tsangue", u"coracao.htm"},
        {u"title:água", u""},
    };
    for (const auto& row : rows) {
        const QString request = QString::fromUtf16(row[0]) + u" -> "_s;
        QCOMPARE(request + found(QString::fromUtf16(row[0])).join(u' '),
                 request + QString::fromUtf16(row[1]));
        QCOMPARE(request + found(QString::fromUtf16(row[0]), asTerms_.path() + u'/').join(u' '),
                 request + QString::fromUtf16(row[2] ? row[2] : row[1]));
    }
    // The window is told what was searched besides the typed words.
    const std::pair<const char16_t*, const char16_t*> spellingRows[] = {
        {u"acção direcção", u"ação|direção"},
        {u"autoestima", u"auto-estima"},
        {u"micro-ondas", u"microondas"},
        {u"arquitecto", u""},
        {u"ato", u""},  // both spellings held: the one typed is searched alone
        {u"pacto", u""}};
    for (const auto& [request, spellings] : spellingRows) {
        QCOMPARE(run(QString::fromUtf16(request), installPath_)->otherSpellings().join(u'|'),
                 QString::fromUtf16(spellings));
    }
    const std::pair<QString, const char*> builtRows[] = {
        {u"coração\u0000\u001fsangue"_s, "coracao.htm"},
        {u"coração "_s.repeated(1300), "coracao.htm"},
        {QString(10000, u'a'), ""},
        {QString(QChar(0xD83D)) + u"água"_s, "agua.htm copo-dagua.htm"}};
    for (const auto& [request, files] : builtRows)
        QCOMPARE(found(request).join(u' '), QString::fromUtf8(files));
}

// One slice or three, of three threads preparing documents, and whatever became of the
// details table beside an index of the words as terms: the same requests list
// the same titles and paths in the same order. A table that is missing, of
// another index, cut short or older than the index is not used; the
// documents answer. (An index of words in a lexicon keeps no data in its
// documents, and is unusable without its table: unusableIndexSaysSo.)
void TestSearchEngine::threadsAndDetailsTableChangeNoResult() {
    const auto listed = [&](const QString& dir) {
        QStringList all;
        for (const QString& request :
             {u"bras*"_s, u"água OU coração"_s, u"informação"_s, u"cidade OU rios OU santos"_s,
              u"independencias"_s, u"comum"_s}) {
            const auto results = run(request, dir + u'/')->Results();
            for (int i = 0; i < results->Count(); ++i) {
                results->GetNthDoc(i);
                all << request + u'|' + results->DocDetailItem(u"_shortname"_s) + u'|' +
                           results->DocDetailItem(u"_filename"_s);
            }
        }
        return all;
    };
    QTemporaryDir one, three, reversed, asTerms;
    // Articles alike but for their number tie on every word, so they list
    // in the order of their document ids.
    std::vector<IndexRecord> records = corpusRecords();
    for (int i = 0; i < 12; ++i)
        records.push_back({u"v%1.htm"_s.arg(i), u"Verbete %1"_s.arg(i),
                           u"<p>Texto comum %1.</p>"_s.arg(i), u"tomo98a"_s});
    installIndex(one.path(), records);
    installIndex(three.path(), records, {.preparers = 3, .slices = 3});
    const QStringList expected = listed(one.path());
    QCOMPARE(listed(three.path()), expected);
    // The words kept as terms change nothing but what a prefix finds: not
    // even the weights, which depend on the lengths of the documents.
    installIndex(asTerms.path(), records, {.written = WrittenWordsKept::AsTerms, .preparers = 3});
    const auto unprefixed = [](QStringList lines) {
        lines.removeIf([](const QString& line) { return line.startsWith(u"bras*"); });
        return lines;
    };
    const QStringList asTermsListed = listed(asTerms.path());
    QCOMPARE(unprefixed(asTermsListed), unprefixed(expected));
    const auto weights = [](const QString& dir, const QString& request) {
        const IndexFiles files = IndexFiles::open(dir + u"/indice"_s);
        const WordLexicons lexicons{files.lexicon};
        Xapian::Enquire enquire(files.index);
        enquire.set_query(XapianQueryBuilder(files.index, lexicons).build(request));
        QStringList all;
        const Xapian::MSet found = enquire.get_mset(0, files.index.get_doccount());
        for (auto it = found.begin(); it != found.end(); ++it)
            all << u"%1 %2"_s.arg(*it).arg(it.get_weight(), 0, 'g', 17);
        return all;
    };
    for (const QString& request : {u"informação"_s, u"cidade OU rios OU santos"_s, u"comum"_s})
        QCOMPARE(weights(asTerms.path(), request), weights(one.path(), request));
    // The same count of documents, in another order.
    installIndex(reversed.path(), {records.rbegin(), records.rend()}, {.preparers = 3});

    const QString table = u"/indice/"_s + DetailsTable::kFileName;
    const struct {
        const char* what;
        bool changesIndex;
        std::function<void(const QString&)> change;
    } rows[] = {
        {"removed", false, [&](const QString& dir) { QVERIFY(QFile::remove(dir + table)); }},
        {"another index's", false,
         [&](const QString& dir) {
             QVERIFY(QFile::remove(dir + table));
             QVERIFY(QFile::copy(reversed.path() + table, dir + table));
         }},
        {"cut in its offsets", false,
         [&](const QString& dir) { QVERIFY(QFile::resize(dir + table, 100)); }},
        {"cut in its text", false,
         [&](const QString& dir) {
             QVERIFY(QFile::resize(dir + table, QFileInfo(dir + table).size() - 8));
         }},
        {"older than the index", true, [&](const QString& dir) { changeAfterItsTable(dir); }},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        installIndex(dir.path(), records, {.written = WrittenWordsKept::AsTerms, .preparers = 3});
        row.change(dir.path());
        const QStringList now = listed(dir.path());
        QFile::remove(dir.path() + table);
        const bool same = now == listed(dir.path()) && (row.changesIndex || now == asTermsListed);
        QVERIFY2(same, row.what);
    }
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
    // Real indexes whose word lexicon went, was cut short or is another
    // index's, or whose details table went.
    const QString words = u"/indice/"_s + WordLexicon::kFileName;
    const std::pair<QString, std::function<bool(const QString&)>> damaged[] = {
        {u"no-words"_s, [&](const QString& index) { return QFile::remove(index + words); }},
        {u"cut-words"_s,
         [&](const QString& index) {
             return QFile::resize(index + words, QFileInfo(index + words).size() - 3);
         }},
        {u"other-words"_s,
         [&](const QString& index) {
             return QFile::remove(index + words) &&
                    QFile::copy(dir.filePath(u"good"_s) + words, index + words);
         }},
        {u"no-details"_s,
         [](const QString& index) {
             return QFile::remove(index + u"/indice/"_s + DetailsTable::kFileName);
         }},
    };
    for (const auto& [name, change] : damaged) {
        QVERIFY(QDir(dir.path()).mkpath(name));
        installIndex(dir.filePath(name), corpusRecords());
        QVERIFY(change(dir.filePath(name)));
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
        {u"../no-words/indice\n"_s, false, u"no usable word lexicon"_s},
        {u"../cut-words/indice\n"_s, false, u"no usable word lexicon"_s},
        {u"../other-words/indice\n"_s, false, u"no usable word lexicon"_s},
        {u"../no-details/indice\n"_s, false, u"no usable details table"_s},
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
        QVERIFY2(!IsSearchIndexUsable(install + u"/search.lst"_s), qPrintable(row.list));
    }
}

void TestSearchEngine::callbacksAndAborts() {
    RecordingCallbacks callbacks;
    QCOMPARE(run(u"cidade"_s, installPath_, &callbacks)->Results()->Count(), 2);
    QCOMPARE(callbacks.calls.value(0), u"Searching cidade"_s);
    QVERIFY(callbacks.abortChecks >= 1);
    QCOMPARE(callbacks.count(u"Found "_s), 2);
    QVERIFY(callbacks.calls.contains(u"Found São Paulo"_s));
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
    // An installed one replaces it.
    installIndex(dir.path(), {{u"novo.htm"_s, u"Novo"_s, u"conteúdo recente"_s, u"tomo98a"_s}});
    QCOMPARE(found(u"conteudo"_s, dir.path() + u'/'), QStringList{u"novo.htm"_s});
    QCOMPARE(entries(dir.path()), (QStringList{"indice", "outra", "search.lst"}));
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "test_search_engine.moc"
