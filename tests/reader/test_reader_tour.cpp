// The whole reader on the sample edition, used as a person would: real mouse
// clicks and keys in the real browser, from the home page through every kind
// of link, on a copy of the sample (support/SampleCopy.h).
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <QWheelEvent>
#include <functional>

#include "browser/DriveUrls.h"
#include "browser/SearchHighlight.h"
#include "browser/WebEngineBrowser.h"
#include "host/ReaderState.h"
#include "reader/Reader.h"
#include "search/SearchController.h"
#include "support/BrowserDriver.h"
#include "support/DatabaseFixtures.h"
#include "support/SampleCopy.h"
#include "support/ToolRunner.h"
#include "ui/BrowserPane.h"
#include "ui/FindBar.h"
#include "ui/Form1.h"
#include "ui/PageZoom.h"
#include "ui/PictureWindow.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

// Stands for the desktop's default applications: records what it is given.
class RecordingUrlHandler : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

// The processes that run with this in their environment: a reader started
// with it, and the helper processes of its browser. A dead one has none.
qsizetype runningWith(const QByteArray& variable) {
    const QStringList pids = QDir(u"/proc"_qs).entryList({u"[0-9]*"_qs}, QDir::Dirs);
    return std::count_if(pids.begin(), pids.end(), [&](const QString& pid) {
        return readBytes(u"/proc/"_qs + pid + u"/environ"_qs).split('\0').contains(variable);
    });
}

// Run in a process of its own, with kCloseDuring set: the reader on the
// edition of the current folder; a lookup, then Fechar is clicked inside
// another lookup or an article build while it lets events be processed.
// Prints first how many processes run with kCloseDuring; returns only if
// Fechar did not end the process.
constexpr char kCloseDuring[] = "LUMERA_TOUR_CLOSE_DURING";
int closeDuring(const QByteArray& work) {
    Reader reader({u"D:="_qs + QDir::current().absoluteFilePath(u"../cd"_qs)});
    reader.start();
    QMenuBar* menu = reader.window().menuBar();
    waitUntil([&] { return reader.state().engine != nullptr; });
    reader.search().LookUpArticleTitle(u"portugal"_qs);
    QTimer::singleShot(0, menu, [menu, work] {
        QTextStream(stdout) << runningWith(kCloseDuring + ('=' + work)) << Qt::endl;
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().last()).center());
    });
    work == "article" ? reader.search().FoundList_Click(0)
                      : reader.search().LookUpArticleTitle(u"portugal"_qs);
    return 3;
}

}  // namespace

class ReaderTourTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void tour();
    void readingComfort();
    void openFromTheCommandLine();
    void fecharEndsAtOnce();

  private:
    QString pageUrl() const { return reader_->browser().view()->url().toString().toLower(); }
    bool waitForPage(const QString& ending);
    QVariant evaluate(const QString& script) { return driver_->evaluate(script); }
    void click(const QString& selector, const QString& frame = QString()) {
        QVERIFY2(driver_->click(selector, frame), qPrintable(selector));
    }
    void home();

    QTemporaryDir dir_;
    QString previousDirectory_;
    std::unique_ptr<Reader> reader_;
    std::unique_ptr<BrowserDriver> driver_;
};

void ReaderTourTest::initTestCase() {
    QVERIFY(copySample(QDir(dir_.path())));
    previousDirectory_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.filePath(QStringLiteral("install"))));
    reader_ = std::make_unique<Reader>(
        QStringList{QStringLiteral("D:=") + dir_.filePath(QStringLiteral("cd"))});
    reader_->window().resize(1000, 700);
    driver_ = std::make_unique<BrowserDriver>(reader_->browser().view());
    reader_->start();
    QVERIFY(QTest::qWaitForWindowExposed(&reader_->window()));
}

void ReaderTourTest::cleanupTestCase() {
    driver_.reset();
    reader_.reset();
    QDir::setCurrent(previousDirectory_);
}

bool ReaderTourTest::waitForPage(const QString& ending) {
    // Loaded: the address is there and the document has finished.
    QWebEnginePage* page = reader_->browser().view()->page();
    return waitUntil([&] { return pageUrl().endsWith(ending) && !page->isLoading(); });
}

void ReaderTourTest::home() {
    QAction* inicio = reader_->window().menuBar()->actions().value(0);
    QVERIFY(inicio);
    inicio->trigger();
    QVERIFY(waitForPage(QStringLiteral("/lex2000/joia.htm")));
}

void ReaderTourTest::tour() {
    QVERIFY(waitForPage(QStringLiteral("/lex2000/joia.htm")));

    // A section link on a plain page: redirected to the CD's copy and shown.
    click(QStringLiteral("a[href=\"v1.htm\"]"));
    QVERIFY(waitForPage(QStringLiteral("/lex2000/v1.htm")));
    // "VOLTA" goes back.
    click(QStringLiteral("a[href=\"VOLTA\"]"));
    QVERIFY(waitForPage(QStringLiteral("/lex2000/joia.htm")));

    // A section link in the menu frame fills the whole browser.
    QVERIFY(waitUntil([&] {
        return evaluate(QStringLiteral("!!document.querySelector('iframe').contentDocument."
                                       "querySelector('a[href=\"v2.htm\"]')"))
            .toBool();
    }));
    click(QStringLiteral("a[href=\"v2.htm\"]"), QStringLiteral("iframe"));
    QVERIFY(waitForPage(QStringLiteral("/lex2000/v2.htm")));
    home();

    // An article link builds the article's page; every picture of it loads.
    click(QStringLiteral("a[href=\"tomo98a/brasil.htm\"]"));
    QVERIFY(waitForPage(QStringLiteral("/vf.htm")));
    QVERIFY(
        evaluate(QStringLiteral("document.title")).toString().contains(QStringLiteral("Brasil")));
    // Thumbnails, icons and rule: more than 8, every one loaded, none broken.
    QVERIFY(waitUntil([&] {
        return evaluate(QStringLiteral("(function(){var i=Array.from(document.images);return "
                                       "i.length>8&&i.every(function(x){return x.complete&&"
                                       "x.naturalWidth>0;});})()"))
            .toBool();
    }));

    // A thumbnail and a see-also row name no article: their pages on the CD are shown.
    click(QStringLiteral("a[href=\"D:/LEX2000/FOTOS/CRISTO-REDENTOR.htm\"] img"));
    QVERIFY(waitForPage(QStringLiteral("/lex2000/fotos/cristo-redentor.htm")));
    reader_->browser().GoBack();
    QVERIFY(waitForPage(QStringLiteral("/vf.htm")));
    click(QStringLiteral("a[href=\"D:/LEX2000/BANDEIRAS/BAND-BRASIL.htm\"] font"));
    QVERIFY(waitForPage(QStringLiteral("/lex2000/bandeiras/band-brasil.htm")));
    home();

    // An article whose address holds a restart word ("constit"), and one
    // opened by a link for a new window: both shown in the reader.
    const struct {
        const char* link;
        const char* title;
    } articles[] = {{"tomo98b/constituicao-de-1976.htm", "Constituição de 1976"},
                    {"tomo98b/revolucao-dos-cravos.htm", "Revolução dos Cravos"}};
    for (const auto& article : articles) {
        click(QStringLiteral("a[href=\"%1\"]").arg(QLatin1String(article.link)));
        QVERIFY(waitForPage(QStringLiteral("/vf.htm")));
        QVERIFY(waitUntil([&] {
            return evaluate(QStringLiteral("document.title"))
                .toString()
                .contains(QString::fromUtf8(article.title));
        }));
        home();
    }

    // The timeline is restarted in the whole browser and shown, the second time too.
    for (int visit = 0; visit < 2; ++visit) {
        click(QStringLiteral("a[href=\"timeline/main.htm\"]"));
        QVERIFY(waitForPage(QStringLiteral("/lex2000/timeline/main.htm")));
        home();
    }

    // Ctrl+F in the page opens the find bar.
    QTest::keyClick(reader_->browser().view()->focusProxy(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(waitUntil([&] { return reader_->pane().findBar()->isVisible(); }));

    // ".tv" opens the picture window.
    click(QStringLiteral("a[href=\"filme.tv\"]"));
    QVERIFY(waitUntil(
        [&] { return reader_->pictureWindow() && reader_->pictureWindow()->isVisible(); }));
    QVERIFY(pageUrl().endsWith(QStringLiteral("/lex2000/joia.htm")));
    reader_->pictureWindow()->hide();

    // The search field: the search window lists the titles; choosing one
    // shows the article in the main window, with every form of the searched
    // word marked (typed without accents, in a form the page lacks); F3 goes
    // to the next mark.
    click(QStringLiteral("input[name=\"request\"]"));
    QTest::keyClicks(reader_->browser().view()->focusProxy(), QStringLiteral("navegacoes"));
    QTest::keyClick(reader_->browser().view()->focusProxy(), Qt::Key_Return);
    QWidget* dtsearch = nullptr;
    QVERIFY(waitUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"dtsearch" && w->isVisible()) dtsearch = w;
        }
        return dtsearch != nullptr;
    }));
    auto* found = dtsearch->findChild<QListView*>(QStringLiteral("FoundList"));
    QVERIFY(found);
    QVERIFY(waitUntil([&] { return found->isVisible() && found->model()->rowCount() > 0; }));
    const QString title = found->model()->index(0, 0).data().toString();
    QTest::mouseClick(found->viewport(), Qt::LeftButton, {},
                      found->visualRect(found->model()->index(0, 0)).center());
    QVERIFY(waitForPage(QStringLiteral("/vf.htm")));
    QVERIFY(waitUntil(
        [&] { return evaluate(QStringLiteral("document.title")).toString().contains(title); }));
    QVERIFY(waitUntil([&] { return reader_->browser().searchHighlight()->count() > 2; }));
    const QStringList marked =
        evaluate(u"Array.from(document.querySelectorAll('mark')).map(m => m.textContent)"_qs)
            .toStringList();
    for (const QString& form : {u"navegação"_qs, u"navegações"_qs, u"navegar"_qs})
        QVERIFY2(marked.contains(form), qPrintable(marked.join(u' ')));
    reader_->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader_->window()));
    QTest::keyClick(&reader_->window(), Qt::Key_F3);
    QVERIFY(waitUntil([&] {
        return reader_->pane().findBar()->statusText() ==
               u"2 de %1 palavras pesquisadas"_qs.arg(marked.size());
    }));
    dtsearch->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dtsearch));
    // Nothing found for a text typed there: once its message is closed (the
    // count caption empties then), the search window, active when it opened,
    // is active again.
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    closer.start(50);
    QTest::keyClick(found, Qt::Key_Tab);  // to Text1
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xyzzy\r"));
    QVERIFY(waitUntil([&] {
        return reader_->search().window()->Label2().isEmpty() &&
               QApplication::activeWindow() == dtsearch;
    }));

    // "Início" returns home, where nothing is marked any more.
    home();
    QVERIFY(reader_->pane().findBar()->statusText().isEmpty());
}

// lumera-cli open follows each address through the same reader without
// windows, on the same copies of the edition.
// Zoom with the keys and the wheel, kept for the next run; Alt+Left back
// through the router; a PDF of the article as printed; a film the browser
// cannot play handed to the desktop; a context menu of what works.
void ReaderTourTest::readingComfort() {
    home();
    reader_->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader_->window()));
    QWebEngineView* view = reader_->browser().view();
    // The engine makes its input widget again with a new page.
    const auto input = [view] { return view->focusProxy(); };
    const auto ratio = [&] { return evaluate(u"window.devicePixelRatio"_qs).toDouble(); };
    const double normal = ratio();
    QTest::keyClick(input(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(input(), Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(waitUntil([&] { return ratio() > normal * 1.2; }));
    QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(input(), &wheel);
    QCOMPARE(reader_->pane().zoom()->factor(), 1.1);
    QWebEngineView next;  // a later run's view
    QCOMPARE(PageZoom(&next).factor(), 1.1);
    // The picture window zooms the same way, its picture and screen together.
    PictureWindow* tv = reader_->pictureWindow();
    QVERIFY(tv);
    tv->showAndRaise();
    QVERIFY(QTest::qWaitForWindowActive(tv));
    const double before = tv->zoom();
    QTest::keyClick(tv, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(tv->picture1()->geometry().size(),
             (QSizeF(PictureWindow::kScreenArea.size()) * PageZoom::stepped(before, 1)).toSize());
    tv->setZoom(1.0);
    tv->hide();
    reader_->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader_->window()));
    QTest::keyClick(input(), Qt::Key_0, Qt::ControlModifier);
    QVERIFY(waitUntil([&] { return qFuzzyCompare(ratio(), normal); }));
    // The window's place and size, kept for the next run.
    const QRect place = reader_->window().geometry();
    reader_->window().resize(900, 650);
    reader_->window().keepPlace();
    reader_->window().resize(700, 500);
    QVERIFY(reader_->window().restorePlace());
    QCOMPARE(reader_->window().size(), QSize(900, 650));
    reader_->window().setGeometry(place);

    click(u"a[href=\"tomo98a/brasil.htm\"]"_qs);
    QVERIFY(waitForPage(u"/vf.htm"_qs));
    QSignalSpy saved(&reader_->browser(), &WebEngineBrowser::pageSaved);
    reader_->browser().savePageTo(dir_.filePath(u"brasil.pdf"_qs));
    QVERIFY(saved.wait(30000) && saved.first().at(1).toBool());
    QProcess text;
    text.start(u"pdftotext"_qs, {u"-l"_qs, u"1"_qs, dir_.filePath(u"brasil.pdf"_qs), u"-"_qs});
    QVERIFY(text.waitForFinished(30000) && text.readAllStandardOutput().contains("Brasil"));
    // Back and forward one page at a time, each article shown again though
    // all are vf.htm: Alt+Left and Alt+Right, the mouse's buttons.
    // The see-also table's Website row searches the encyclopedia for its article.
    click(u"a[href^=\"/procura.asp\"]"_qs);
    QVERIFY(waitUntil([&] {
        const SearchWindowModel* found = reader_->search().window();
        return found && found->Text1() == u"Brasil"_qs && !found->Label2().isEmpty();
    }));
    reader_->search().fec_Click();
    reader_->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader_->window()));
    click(u"a[href=\"../tomo98a/amazonia.htm\"]"_qs);
    const auto article = [&](const QString& title) {
        return waitUntil([&] {
            return pageUrl().endsWith(u"/vf.htm"_qs) &&
                   evaluate(u"document.body.innerText"_qs).toString().contains(title);
        });
    };
    QVERIFY(article(u"bacia do rio Amazonas"_qs));
    QTest::keyClick(input(), Qt::Key_Left, Qt::AltModifier);
    QVERIFY(article(u"República Federativa"_qs));
    QTest::keyClick(input(), Qt::Key_Left, Qt::AltModifier);
    QVERIFY(waitForPage(u"/lex2000/joia.htm"_qs));
    QVERIFY(reader_->browser().shownAddress().endsWith(u"joia.htm"_qs, Qt::CaseInsensitive));
    QTest::mouseClick(input(), Qt::ForwardButton);  // the mouse's forward button
    QVERIFY(article(u"República Federativa"_qs));
    QTest::keyClick(input(), Qt::Key_Right, Qt::AltModifier);
    QVERIFY(article(u"bacia do rio Amazonas"_qs));
    QTest::mouseClick(view, Qt::BackButton);
    QVERIFY(article(u"República Federativa"_qs));
    QTest::mouseClick(view, Qt::BackButton);
    QVERIFY(waitForPage(u"/lex2000/joia.htm"_qs));

    RecordingUrlHandler desktop;
    QDesktopServices::setUrlHandler(u"file"_qs, &desktop, "open");
    QVERIFY(writeBytes(dir_.filePath(u"cd/LEX2000/SONS/TEMA.MID"_qs), "MThd"));
    reader_->browser().Navigate(u"D:\\lex2000\\sons\\tema.mid"_qs);
    QVERIFY(waitUntil([&] { return !desktop.opened.isEmpty(); }));
    QDesktopServices::unsetUrlHandler(u"file"_qs);
    QCOMPARE(readBytes(desktop.opened.first().toLocalFile()), QByteArray("MThd"));

    // The context menu, clicked with the right button on the text and on
    // the page's search field, where editing has its items too.
    const auto menuAt = [&](const QString& selector) {
        const QPoint at = driver_->centerOf(selector);
        QTest::mouseClick(input(), Qt::RightButton, {}, at);
        QStringList items;
        if (!waitUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }))
            return items;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) items << action->text();
        menu->close();
        return items;
    };
    const QString rest =
        u"Voltar|Avançar|Procurar no texto…|Imprimir…|Aumentar|Diminuir|"
        u"Tamanho normal|Indicar onde está o CD…"_qs;
    QCOMPARE(menuAt(u"h1, p, b"_qs).join(u'|'), u"Copiar|"_qs + rest);
    QCOMPARE(menuAt(u"input[name=\"request\"]"_qs).join(u'|'),
             u"Recortar|Copiar|Colar|Selecionar tudo|"_qs + rest);
}

void ReaderTourTest::openFromTheCommandLine() {
    const struct {
        const char* address;
        const char* printed;
    } rows[] = {
        {"D:\\lex2000\\tomo98a\\brasil.htm", "Shown ./vf.htm\nTitle Lumera Orvel On-Line -Brasil"},
        {"D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm",
         "Shown D:\\LEX2000\\BANDEIRAS\\BAND-BRASIL.htm\nTitle Lumera - Bandeira do Brasil"},
        {"D:\\lex2000\\timeline\\main.htm",
         "Shown D:\\lex2000\\timeline\\main.htm\nTitle Lumera - Linha do tempo"},
        {"D:\\lex2000\\timeline\\main.htm",
         "Shown D:\\lex2000\\timeline\\main.htm\nTitle Lumera - Linha do tempo"},
        {"D:\\lex2000\\tomo98b\\constituicao-de-1976.htm",
         "Shown ./vf.htm\nTitle Lumera Orvel On-Line -Constituição de 1976"},
        {"D:\\lex2000\\sem-pasta\\joia.htm",
         "Shown D:\\lex2000\\sem-pasta\\joia.htm\nTitle Lumera - Arquivo não encontrado"},
        {"D:\\lex2000\\tomo98a\\sem-verbete.htm", "Nothing"},
        {"D:\\lex2000\\tomo98a\\image\\", "Nothing"},  // a folder is no file to show
        {"D:\\lex2000\\filme.tv", "Nothing"},
    };
    QStringList arguments{QStringLiteral("--drive"), QStringLiteral("D:=") + dir_.filePath("cd"),
                          QStringLiteral("open")};
    QString expected;
    for (const auto& row : rows) {
        arguments << QString::fromUtf8(row.address);
        expected += QString::fromUtf8(row.printed) + u'\n';
    }
    const QString install = dir_.filePath(QStringLiteral("install"));
    const ToolRun run = runTool(QStringLiteral("lumera-cli"), arguments, install);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), expected);

    // Failed requests are told as their message boxes would tell them: an
    // article stored without text, a missing template.
    fixtures::executeSql(
        install + QStringLiteral("/lex.mdb"),
        QStringLiteral("UPDATE DatabaseV SET Verbete = NULL WHERE Arquivo = 'fado.htm'"));
    QVERIFY(QFile::remove(install + QStringLiteral("/modelo-final.htm")));
    const ToolRun failed =
        runTool(QStringLiteral("lumera-cli"),
                QStringList(arguments.mid(0, 3)) << QStringLiteral("D:\\lex2000\\tomo98c\\fado.htm")
                                                 << QString::fromUtf8(rows[0].address),
                install);
    QCOMPARE(
        QString::fromUtf8(failed.out),
        QStringLiteral("Message Lumera Edição 2002|Não foi possível montar a página do verbete "
                       "fado.htm: falta o texto dele na base de dados lex.mdb em %1.\nNothing\n"
                       "Message Lumera Edição 2002|Não foi possível ler o modelo de página "
                       "modelo-final.htm em %1.\nNothing\n")
            .arg(install));
}

// Fechar inside a lookup and inside an article build ends the reader within
// a second: no handler runs after it (the page is not written, the lookup
// does not return), and the browser's helper processes end with it.
void ReaderTourTest::fecharEndsAtOnce() {
    const QByteArray page = readBytes(u"vf.htm"_qs);
    for (const QByteArray work : {"lookup", "article"}) {
        QProcess reader;
        qputenv(kCloseDuring, work);
        reader.start(QCoreApplication::applicationFilePath());
        qunsetenv(kCloseDuring);
        QVERIFY2(reader.waitForReadyRead(60000), reader.readAllStandardError().constData());
        const QDeadlineTimer second(1000);
        QVERIFY(reader.waitForFinished(second.remainingTime()) &&
                reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0);
        QVERIFY(reader.readAllStandardOutput().trimmed().toInt() > 1);  // helpers ran
        QVERIFY(waitUntil([&] { return runningWith(kCloseDuring + ('=' + work)) == 0; },
                          second.remainingTime()));
        QCOMPARE(readBytes(u"vf.htm"_qs), page);
    }
}

int main(int argc, char** argv) {
    // The reader's settings (the zoom) of this run only.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kCloseDuring)) return closeDuring(qgetenv(kCloseDuring));
    ReaderTourTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_reader_tour.moc"
