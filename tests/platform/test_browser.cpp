// The browser on Qt WebEngine, driven as the reader drives it: real pages
// from a mapped drive, real mouse clicks, real form submissions.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "host/Browser.h"
#include "host/Windows1252.h"
#include "platform/DriveMap.h"
#include "platform/DriveUrls.h"
#include "platform/FindBar.h"
#include "platform/WebEngineBrowser.h"
#include "support/BrowserWindow.h"

using namespace lumera;

namespace {

// Records the events; a rule may cancel or navigate, as the router does.
struct Sink : BrowserEvents {
    QStringList urls;
    QStringList requestValues;  // the "request" value seen inside each event
    int completes = 0;
    Browser* browser = nullptr;
    std::function<void(const QString&, bool&)> rule;

    void BeforeNavigate2(const QString& url, bool& cancel) override {
        urls << url;
        const auto value = browser->ElementValue(QStringLiteral("request"));
        requestValues << (value ? *value : QStringLiteral("<none>"));
        if (rule) rule(url, cancel);
    }
    void DocumentComplete() override { ++completes; }
};

void writePage(const QString& path, const QString& html) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(windows1252::encodeWithReferences(html));
}

const QString kHead = QStringLiteral(
    "<html><head><meta charset='windows-1252'><title>%1</title>"
    "<style>a,input{display:block;margin:8px;font-size:20px}</style></head><body>");

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void programmaticNavigationReportsItsTarget();
    void clickedLinkIsReportedAsAWindowsPath();
    void formSubmissionCarriesTheFieldValue();
    void frameLinkAndFrameCompletion();
    void navigateInsideTheHandlerReplacesTheNavigation();
    void goBack();
    void missingFileStillCompletes();
    void elementValueNeedsExactlyOneElement();
    void nothingLeavesTheMachine();
    void findBarCountsMatches();
    void copyAndSavePage();

  private:
    bool load(const QString& target);
    QPoint centerOf(const QString& selector, const QString& frameSelector = QString());
    void click(const QString& selector, const QString& frameSelector = QString());
    QString currentUrl() const { return browser_->view()->url().toString(); }

    QTemporaryDir dir_;
    DriveMap drives_;
    std::unique_ptr<WebEngineBrowser> browser_;
    std::unique_ptr<QWidget> window_;
    Sink sink_;
};

void BrowserTest::initTestCase() {
    const QString root = dir_.filePath(QStringLiteral("cd/lex2000/"));
    writePage(root + "joia.htm", kHead.arg("Início") +
                                     "<a id='sao' href='tomo98a/S%C3%A3o.htm'>São</a>"
                                     "<a id='v1' href='v1.htm'>Seção 1</a>"
                                     "<a id='v3' href='V3.HTM'>Seção 3</a>"
                                     "<p>Água mole em pedra dura tanto bate até que fura. Água!</p>"
                                     "</body></html>");
    writePage(root + "v1.htm", kHead.arg("Seção 1") + "<p>um</p></body></html>");
    writePage(root + "v2.htm", kHead.arg("Seção 2") + "<p>dois</p></body></html>");
    writePage(root + "v3.htm", kHead.arg("Seção 3") + "<p>três</p></body></html>");
    writePage(root + "busca.htm",
              kHead.arg("Busca") +
                  "<form action='dtsearch.asp' method='get'>"
                  "<input id='field' type='text' name='request'>"
                  "<input id='go' type='submit' value='Procurar'></form></body></html>");
    writePage(root + "dois.htm",
              kHead.arg("Dois") +
                  "<input name='request' value='a'><input name='request' value='b'>"
                  "</body></html>");
    writePage(root + "quadro.htm",
              kHead.arg("Quadro") +
                  "<iframe id='menu' src='menu.htm' width='400' height='200'></iframe>"
                  "</body></html>");
    writePage(root + "menu.htm",
              kHead.arg("Menu") + "<a id='sec' href='v2.htm'>Seção 2</a></body></html>");
    QVERIFY(drives_.map(u'D', dir_.filePath(QStringLiteral("cd"))));
}

void BrowserTest::init() {
    browser_ = std::make_unique<WebEngineBrowser>(drives_);
    window_ = testing::showInWindow(*browser_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    sink_ = Sink();
    sink_.browser = browser_.get();
    browser_->setEventSink(&sink_);
}

void BrowserTest::cleanup() {
    browser_.reset();
    window_.reset();
}

bool BrowserTest::load(const QString& target) {
    QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
    browser_->Navigate(target);
    return done.wait(20000);
}

QPoint BrowserTest::centerOf(const QString& selector, const QString& frameSelector) {
    const QString doc =
        frameSelector.isEmpty()
            ? QStringLiteral("document")
            : QStringLiteral("document.querySelector('%1').contentDocument").arg(frameSelector);
    const QString offset =
        frameSelector.isEmpty()
            ? QStringLiteral("{left:0,top:0}")
            : QStringLiteral("document.querySelector('%1').getBoundingClientRect()")
                  .arg(frameSelector);
    QVariant result;
    bool answered = false;
    browser_->view()->page()->runJavaScript(
        QStringLiteral(
            "(function(){var r=%1.querySelector('%2').getBoundingClientRect();var o=%3;"
            "return [Math.round(o.left+r.left+r.width/2), Math.round(o.top+r.top+r.height/2)];})()")
            .arg(doc, selector, offset),
        [&](const QVariant& v) {
            result = v;
            answered = true;
        });
    if (!QTest::qWaitFor([&] { return answered; }, 10000)) return {};
    const QVariantList xy = result.toList();
    return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
}

void BrowserTest::click(const QString& selector, const QString& frameSelector) {
    const QPoint at = centerOf(selector, frameSelector);
    QVERIFY2(!at.isNull(), qPrintable(selector));
    QWidget* target = browser_->view()->focusProxy();
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
}

void BrowserTest::programmaticNavigationReportsItsTarget() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    QCOMPARE(sink_.urls, QStringList{"D:\\lex2000\\joia.htm"});
    QCOMPARE(sink_.completes, 1);
    QCOMPARE(browser_->view()->title(), QStringLiteral("Início"));

    // Forward slashes and a file URL are the program's own texts too.
    QVERIFY(load(QStringLiteral("d:/LEX2000/v1.htm")));
    QVERIFY(load(QStringLiteral("file:///D:/lex2000/v2.htm")));
    QCOMPARE(sink_.urls.mid(1), (QStringList{"d:/LEX2000/v1.htm", "file:///D:/lex2000/v2.htm"}));
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 2"));

    // Cancelled: nothing loads and nothing completes.
    sink_.rule = [](const QString&, bool& cancel) { cancel = true; };
    const int completes = sink_.completes;
    browser_->Navigate(QStringLiteral("D:\\lex2000\\v3.htm"));
    QTRY_COMPARE(sink_.urls.size(), 4);
    QTest::qWait(300);
    QCOMPARE(sink_.completes, completes);
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 2"));
}

void BrowserTest::clickedLinkIsReportedAsAWindowsPath() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    sink_.rule = [](const QString& url, bool& cancel) { cancel = url.contains(u"tomo98a"); };
    click(QStringLiteral("#sao"));
    QTRY_COMPARE(sink_.urls.size(), 2);
    QCOMPARE(sink_.urls[1], QStringLiteral("D:\\lex2000\\tomo98a\\São.htm"));
    QTest::qWait(200);
    QCOMPARE(browser_->view()->title(), QStringLiteral("Início"));

    // The letter case of the link is kept; the file is found regardless.
    QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
    click(QStringLiteral("#v3"));
    QVERIFY(done.wait(20000));
    QCOMPARE(sink_.urls.last(), QStringLiteral("D:\\lex2000\\V3.HTM"));
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 3"));
}

void BrowserTest::formSubmissionCarriesTheFieldValue() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\busca.htm")));
    sink_.rule = [](const QString& url, bool& cancel) { cancel = url.contains(u"dtsearch.asp"); };
    click(QStringLiteral("#field"));
    // Typed key by key; QTest's own helper knows only ASCII keys.
    for (const QChar c : QStringLiteral("São Paulo")) {
        QTest::sendKeyEvent(QTest::Click, browser_->view()->focusProxy(), Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
    QTRY_COMPARE(browser_->ElementValue(QStringLiteral("request")),
                 std::optional<QString>(QStringLiteral("São Paulo")));
    click(QStringLiteral("#go"));
    QTRY_COMPARE(sink_.urls.size(), 2);
    QCOMPARE(sink_.urls[1], QStringLiteral("D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo"));
    QCOMPARE(sink_.requestValues[1], QStringLiteral("São Paulo"));

    // Enter in the field submits too.
    QTest::keyClick(browser_->view()->focusProxy(), Qt::Key_Return);
    QTRY_COMPARE(sink_.urls.size(), 3);
    QCOMPARE(sink_.requestValues[2], QStringLiteral("São Paulo"));
}

void BrowserTest::frameLinkAndFrameCompletion() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\quadro.htm")));
    // The frame's document completes as well as the page.
    QTRY_VERIFY(sink_.completes >= 2);
    QVERIFY(sink_.urls.contains(QStringLiteral("D:\\lex2000\\menu.htm")));
    sink_.rule = [](const QString& url, bool& cancel) { cancel = url.contains(u"v2.htm"); };
    const qsizetype before = sink_.urls.size();
    click(QStringLiteral("#sec"), QStringLiteral("#menu"));
    QTRY_COMPARE(sink_.urls.size(), before + 1);
    QCOMPARE(sink_.urls.last(), QStringLiteral("D:\\lex2000\\v2.htm"));
}

void BrowserTest::navigateInsideTheHandlerReplacesTheNavigation() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    // As a redirect does: navigate elsewhere and leave cancel false.
    sink_.rule = [this](const QString& url, bool&) {
        if (url.endsWith(u"v1.htm")) browser_->Navigate(QStringLiteral("D:\\lex2000\\v2.htm"));
    };
    QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
    click(QStringLiteral("#v1"));
    QVERIFY(done.wait(20000));
    QCOMPARE(sink_.urls.mid(1), (QStringList{"D:\\lex2000\\v1.htm", "D:\\lex2000\\v2.htm"}));
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 2"));
    QTest::qWait(300);
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 2"));  // v1 never loaded
    QCOMPARE(done.size(), 1);
}

void BrowserTest::goBack() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
    click(QStringLiteral("#v1"));
    QVERIFY(done.wait(20000));
    QCOMPARE(browser_->view()->title(), QStringLiteral("Seção 1"));
    browser_->GoBack();
    QVERIFY(done.wait(20000));
    QCOMPARE(browser_->view()->title(), QStringLiteral("Início"));
    QCOMPARE(sink_.urls.last(), QStringLiteral("D:\\lex2000\\joia.htm"));

    // Going back from inside the handler, then cancelling, as "VOLTA" does.
    click(QStringLiteral("#v1"));
    QVERIFY(done.wait(20000));
    sink_.rule = [this](const QString& url, bool& cancel) {
        if (url.endsWith(u"v3.htm")) {
            browser_->GoBack();
            cancel = true;
        }
    };
    browser_->Navigate(QStringLiteral("D:\\lex2000\\v3.htm"));
    QTRY_COMPARE(browser_->view()->title(), QStringLiteral("Início"));
}

void BrowserTest::missingFileStillCompletes() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\naoexiste.htm")));
    QVERIFY(load(QStringLiteral("Q:\\lex2000\\joia.htm")));  // a drive nobody mapped
    QCOMPARE(sink_.completes, 2);
}

void BrowserTest::elementValueNeedsExactlyOneElement() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    QTest::qWait(200);
    QCOMPARE(browser_->ElementValue(QStringLiteral("request")), std::nullopt);
    QVERIFY(load(QStringLiteral("D:\\lex2000\\dois.htm")));
    QTest::qWait(200);
    QCOMPARE(browser_->ElementValue(QStringLiteral("request")), std::nullopt);
    QVERIFY(load(QStringLiteral("D:\\lex2000\\busca.htm")));
    QTRY_COMPARE(browser_->ElementValue(QStringLiteral("request")),
                 std::optional<QString>(QString()));
}

void BrowserTest::nothingLeavesTheMachine() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString base = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
    writePage(dir_.filePath(QStringLiteral("cd/lex2000/rede.htm")),
              kHead.arg("Rede") +
                  QStringLiteral(
                      "<img src='http://%1/a.png'><img src='https://%1/b.png'>"
                      "<iframe src='http://%1/c.htm'></iframe>"
                      "<script>fetch('http://%1/d').catch(function(){});"
                      "try{new WebSocket('ws://%1/e');}catch(e){}"
                      "var x=new XMLHttpRequest();x.open('GET','http://%1/f');x.send();</script>"
                      "</body></html>")
                      .arg(base));
    QVERIFY(load(QStringLiteral("D:\\lex2000\\rede.htm")));
    QTest::qWait(1500);
    QVERIFY(!server.hasPendingConnections());
    QVERIFY(!server.waitForNewConnection(200));

    // A typed web address is refused as well.
    browser_->Navigate(QStringLiteral("http://") + base + QStringLiteral("/g"));
    QTest::qWait(1000);
    QVERIFY(!server.hasPendingConnections());
}

void BrowserTest::findBarCountsMatches() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    browser_->Find();
    QVERIFY(browser_->findBar()->isVisible());
    auto* edit = browser_->findBar()->findChild<QLineEdit*>(QStringLiteral("findText"));
    QVERIFY(edit);
    edit->setText(QStringLiteral("Água"));
    QTRY_COMPARE(browser_->findBar()->statusText(), QStringLiteral("1 de 2"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!browser_->findBar()->isVisible());
}

void BrowserTest::copyAndSavePage() {
    QVERIFY(load(QStringLiteral("D:\\lex2000\\joia.htm")));
    browser_->view()->page()->triggerAction(QWebEnginePage::SelectAll);
    QApplication::clipboard()->clear();
    browser_->Copy();
    QTRY_VERIFY(
        QApplication::clipboard()->text().contains(QStringLiteral("Água mole em pedra dura")));

    QTemporaryDir out;
    QSignalSpy saved(browser_.get(), &WebEngineBrowser::pageSaved);
    const QString html = out.filePath(QStringLiteral("joia-copia.htm"));
    browser_->savePageTo(html);
    QVERIFY(saved.wait(20000));
    QCOMPARE(saved.last().at(1).toBool(), true);
    QFile htmlFile(html);
    QVERIFY(htmlFile.open(QIODevice::ReadOnly));
    // Kept in the pages' code page: "Água" is one byte 0xC1 and three letters.
    QVERIFY(htmlFile.readAll().contains("\xc1gua mole"));

    const QString mht = out.filePath(QStringLiteral("joia-completa.mht"));
    browser_->savePageTo(mht);
    QVERIFY(saved.wait(20000));
    QCOMPARE(saved.last().at(0).toString(), mht);
    QCOMPARE(saved.last().at(1).toBool(), true);
    QFile mhtFile(mht);
    QVERIFY(mhtFile.open(QIODevice::ReadOnly));
    QVERIFY(mhtFile.readAll().contains("multipart/related"));
}

int main(int argc, char** argv) {
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    BrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser.moc"
