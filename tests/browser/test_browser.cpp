// The browser on Qt WebEngine, driven as the reader drives it: real pages
// from a mapped drive, real mouse clicks, real form submissions. And what a
// page must not do: read a file outside the mapped drives and the
// installation folder, or reach the network.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "browser/DriveUrls.h"
#include "browser/WebEngineBrowser.h"
#include "host/Browser.h"
#include "host/Windows1252.h"
#include "media/DriveMap.h"
#include "support/BrowserDriver.h"
#include "support/FileBytes.h"
#include "ui/BrowserPane.h"
#include "ui/FindBar.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

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
        const auto value = browser->ElementValue(u"request"_s);
        requestValues << (value ? *value : u"<none>"_s);
        if (rule) rule(url, cancel);
    }
    void DocumentComplete() override { ++completes; }
};

void writePage(const QString& path, const QString& html) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeBytes(path, windows1252::encodeWithReferences(html)));
}

const QString kHead = QStringLiteral(
    "<html><head><meta charset='windows-1252'><title>%1</title>"
    "<style>a,input{display:block;margin:8px;font-size:20px}</style></head><body>");

constexpr char kSecret[] = "SEGREDO-FORA-DO-CD";
constexpr char kOnTheCd[] = "CONTEUDO-DO-CD";
// The control: files on the mapped drive, which the same probes must read, so
// that an empty result above means refused, not a probe that never worked.
const QString kControlText = u"d:/lex2000/aberto.txt"_s;
const QString kControlImage = u"d:/lex2000/ponto.png"_s;

// Each attempt reports what it read into window.reads; an image that loads
// reports its width. Attempts that fail report nothing or an error.
QByteArray probePage(const QStringList& targets) {
    QByteArray html =
        "<html><head><meta charset='windows-1252'><title>sonda</title></head><body>"
        "<script>window.reads=[];window.pending=0;"
        "function note(t,v){window.reads.push(t+' => '+String(v).slice(0,200));}"
        "function tryAll(u){"
        " window.pending+=3;"
        " fetch(u).then(function(r){return r.text();}).then(function(t){note('fetch '+u,t);})"
        "  .catch(function(e){note('fetch '+u,'erro');}).finally(function(){window.pending--;});"
        " var x=new XMLHttpRequest();"
        " x.onloadend=function(){note('xhr '+u,x.responseText);window.pending--;};"
        " try{x.open('GET',u);x.send();}catch(e){note('xhr '+u,'erro');window.pending--;}"
        " var f=document.createElement('iframe');f.src=u;"
        " f.onload=function(){var "
        "t='';try{t=f.contentDocument.body.innerText;}catch(e){t='bloqueado';}"
        "  note('iframe '+u,t);window.pending--;};"
        " document.body.appendChild(f);"
        " var i=new Image();i.onload=function(){note('img '+u,'largura '+i.width);};i.src=u;"
        "}";
    for (const QString& target : targets) html += "tryAll('" + target.toUtf8() + "');";
    html += "</script></body></html>";
    return html;
}

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
    void nothingLeavesTheMachine();
    void findBarCountsMatches();
    void copyAndSavePage();
    void pagesCannotReadOutside();
    void removedCdLeavesTheBrowserWorking();

  private:
    bool load(const QString& target) { return testing::load(*browser_, target); }
    void click(const QString& selector, const QString& frame = QString()) {
        QVERIFY2(BrowserDriver(browser_->view()).click(selector, frame), qPrintable(selector));
    }
    // A click that loads a document, and the wait for it.
    void clickToLoad(const QString& selector) {
        QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
        click(selector);
        QVERIFY(done.wait(20000));
    }

    QTemporaryDir dir_;
    DriveMap drives_;
    std::unique_ptr<WebEngineBrowser> browser_;
    std::unique_ptr<BrowserPane> pane_;
    std::unique_ptr<QWidget> window_;
    Sink sink_;
};

void BrowserTest::initTestCase() {
    const QString root = dir_.filePath(u"cd/lex2000/"_s);
    const char* const pages[][3] = {
        // file, title, body
        {"joia.htm", "Início",
         "<a id='sao' href='tomo98a/S%C3%A3o.htm'>São</a><a id='v1' href='v1.htm'>Seção 1</a><a "
         "id='v3' href='V3.HTM'>Seção 3</a><p>Água mole em pedra dura tanto bate até que fura. "
         "Água!</p>"},
        {"v1.htm", "Seção 1", "<p>um</p>"},
        {"v2.htm", "Seção 2", "<p>dois</p>"},
        {"v3.htm", "Seção 3", "<p>três</p>"},
        {"busca.htm", "Busca",
         "<form action='dtsearch.asp' method='get'><input id='field' type='text' "
         "name='request'><input id='go' type='submit' value='Procurar'></form>"},
    };
    for (const auto& page : pages)
        writePage(root + QString::fromUtf8(page[0]), kHead.arg(QString::fromUtf8(page[1])) +
                                                         QString::fromUtf8(page[2]) +
                                                         u"</body></html>"_s);
    // Files outside the CD, one in a sibling whose name starts like the CD's
    // folder, and ways from the CD to them.
    const QString outside = dir_.filePath(u"fora"_s);
    writePage(outside + u"/segredo.txt"_s, QLatin1StringView(kSecret));
    writePage(dir_.filePath(u"cdx/segredo.txt"_s), QLatin1StringView(kSecret));
    writePage(root + u"aberto.txt"_s, QLatin1StringView(kOnTheCd));
    QImage dot(7, 5, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QVERIFY(dot.save(root + u"ponto.png"_s));
    QVERIFY(QFile::link(outside + u"/segredo.txt"_s, root + u"atalho.txt"_s));
    QVERIFY(QFile::link(outside, root + u"pasta"_s));
    const QString secretPath = QFileInfo(outside + u"/segredo.txt"_s).canonicalFilePath();
    writePage(
        root + u"sonda.htm"_s,
        QString::fromUtf8(probePage(
            {u"file:///etc/passwd"_s, u"file://"_s + secretPath, u"d:/../fora/segredo.txt"_s,
             u"d:/lex2000/../../fora/segredo.txt"_s, u"d:/lex2000/%2E%2E/%2E%2E/fora/segredo.txt"_s,
             u"d:/lex2000/..%2F..%2Ffora%2Fsegredo.txt"_s,
             u"d:/lex2000/..%5C..%5Cfora%5Csegredo.txt"_s, u"d:%2F..%2Fcdx%2Fsegredo.txt"_s,
             u"d:/../cdx/segredo.txt"_s, u"d:/lex2000/atalho.txt"_s,
             u"d:/lex2000/pasta/segredo.txt"_s, u"/etc/passwd"_s, u"../../fora/segredo.txt"_s,
             u"c:/etc/passwd"_s, kControlText, kControlImage})));
    QVERIFY(drives_.map(u'D', dir_.filePath(u"cd"_s)));
}

void BrowserTest::init() {
    browser_ = std::make_unique<WebEngineBrowser>(drives_);
    pane_ = std::make_unique<BrowserPane>(*browser_);
    window_ = testing::showInWindow(pane_->widget());
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    sink_ = Sink();
    sink_.browser = browser_.get();
    browser_->setEventSink(&sink_);
}

void BrowserTest::cleanup() {
    pane_.reset();
    browser_.reset();
    window_.reset();
}

void BrowserTest::programmaticNavigationReportsItsTarget() {
    QVERIFY(load(u"D:\\lex2000\\joia.htm"_s));
    QCOMPARE(sink_.urls, QStringList{"D:\\lex2000\\joia.htm"});
    QCOMPARE(sink_.completes, 1);
    QCOMPARE(browser_->view()->title(), u"Início"_s);

    // Cancelled: nothing loads and nothing completes.
    sink_.rule = [](const QString&, bool& cancel) { cancel = true; };
    const int completes = sink_.completes;
    browser_->Navigate(u"D:\\lex2000\\v3.htm"_s);
    QTRY_COMPARE(sink_.urls.size(), 2);
    QTest::qWait(300);
    QCOMPARE(sink_.completes, completes);
    QCOMPARE(browser_->view()->title(), u"Início"_s);
}

void BrowserTest::clickedLinkIsReportedAsAWindowsPath() {
    QVERIFY(load(u"D:\\lex2000\\joia.htm"_s));
    sink_.rule = [](const QString& url, bool& cancel) { cancel = url.contains(u"tomo98a"); };
    click(u"#sao"_s);
    QTRY_COMPARE(sink_.urls.size(), 2);
    QCOMPARE(sink_.urls[1], u"D:\\lex2000\\tomo98a\\São.htm"_s);
    QTest::qWait(200);
    QCOMPARE(browser_->view()->title(), u"Início"_s);

    // The letter case of the link is kept; the file is found regardless.
    clickToLoad(u"#v3"_s);
    QCOMPARE(sink_.urls.last(), u"D:\\lex2000\\V3.HTM"_s);
    QCOMPARE(browser_->view()->title(), u"Seção 3"_s);
}

void BrowserTest::formSubmissionCarriesTheFieldValue() {
    QVERIFY(load(u"D:\\lex2000\\busca.htm"_s));
    sink_.rule = [](const QString& url, bool& cancel) { cancel = url.contains(u"dtsearch.asp"); };
    click(u"#field"_s);
    // Typed key by key; QTest's own helper knows only ASCII keys.
    for (const QChar c : u"São Paulo"_s) {
        QTest::sendKeyEvent(QTest::Click, browser_->view()->focusProxy(), Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
    QTRY_COMPARE(browser_->ElementValue(u"request"_s), std::optional<QString>(u"São Paulo"_s));
    click(u"#go"_s);
    QTRY_COMPARE(sink_.urls.size(), 2);
    QCOMPARE(sink_.urls[1], u"D:\\lex2000\\dtsearch.asp?request=S%E3o+Paulo"_s);
    QCOMPARE(sink_.requestValues[1], u"São Paulo"_s);
}

void BrowserTest::nothingLeavesTheMachine() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString base = u"127.0.0.1:%1"_s.arg(server.serverPort());
    writePage(dir_.filePath(u"cd/lex2000/rede.htm"_s),
              kHead.arg("Rede") +
                  QStringLiteral(
                      "<img src='http://%1/a.png'><img src='https://%1/b.png'>"
                      "<iframe src='http://%1/c.htm'></iframe>"
                      "<script>fetch('http://%1/d').catch(function(){});"
                      "try{new WebSocket('ws://%1/e');}catch(e){}"
                      "var x=new XMLHttpRequest();x.open('GET','http://%1/f');x.send();</script>"
                      "</body></html>")
                      .arg(base));
    QVERIFY(load(u"D:\\lex2000\\rede.htm"_s));
    QTest::qWait(1500);
    QVERIFY(!server.hasPendingConnections());
    QVERIFY(!server.waitForNewConnection(200));

    // A typed web address is refused as well.
    browser_->Navigate(u"http://"_s + base + u"/g"_s);
    QTest::qWait(1000);
    QVERIFY(!server.hasPendingConnections());
}

void BrowserTest::findBarCountsMatches() {
    QVERIFY(load(u"D:\\lex2000\\joia.htm"_s));
    pane_->commands().Find();
    QVERIFY(pane_->findBar()->isVisible());
    auto* edit = pane_->findBar()->findChild<QLineEdit*>(u"findText"_s);
    QVERIFY(edit);
    edit->setText(u"Água"_s);
    QTRY_COMPARE(pane_->findBar()->statusText(), u"1 de 2"_s);
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!pane_->findBar()->isVisible());
}

void BrowserTest::copyAndSavePage() {
    QVERIFY(load(u"D:\\lex2000\\joia.htm"_s));
    browser_->view()->page()->triggerAction(QWebEnginePage::SelectAll);
    QApplication::clipboard()->clear();
    pane_->commands().Copy();
    QTRY_VERIFY(QApplication::clipboard()->text().contains(u"Água mole em pedra dura"_s));

    QTemporaryDir out;
    QSignalSpy saved(browser_.get(), &WebEngineBrowser::pageSaved);
    const QString html = out.filePath(u"joia-copia.htm"_s);
    browser_->savePageTo(html);
    QVERIFY(saved.wait(20000));
    QCOMPARE(saved.last().at(1).toBool(), true);
    // Kept in the pages' code page: "Água" is one byte 0xC1 and three letters.
    QVERIFY(readBytes(html).contains("\xc1gua mole"));

    // "Gravar Página" opens in the user's documents, not in the edition's
    // folder (the current one), and next time where the user saved last.
    QStringList openedIn;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        openedIn << dialog->directory().absolutePath();
        dialog->selectFile(out.filePath(u"gravada.htm"_s));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    answer.start(50);
    for (int time = 1; time <= 2; ++time) {
        pane_->commands().SaveAs();
        QTRY_COMPARE(saved.size(), 1 + time);
    }
    QCOMPARE(openedIn,
             (QStringList{QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                          out.path()}));
}

void BrowserTest::pagesCannotReadOutside() {
    QVERIFY(load(u"D:\\lex2000\\sonda.htm"_s));
    // Every attempt has ended, one way or the other.
    QTRY_VERIFY_WITH_TIMEOUT(
        BrowserDriver(browser_->view()).evaluate(u"window.pending"_s).toInt() == 0, 20000);
    QTest::qWait(500);
    const QStringList reads =
        BrowserDriver(browser_->view()).evaluate(u"window.reads"_s).toStringList();
    QVERIFY(reads.size() >= 15);  // at least one report per target
    QStringList controlReads;
    for (const QString& read : reads) {
        if (read.contains(kControlText) || read.contains(kControlImage)) {
            controlReads << read;
            continue;
        }
        QVERIFY2(!read.contains(QLatin1StringView(kSecret)), qPrintable(read));
        QVERIFY2(!read.contains(u"root:"_s), qPrintable(read));
        QVERIFY2(!read.startsWith(u"img "_s), qPrintable(read));
    }
    // fetch() is left out: this Qt WebEngine refuses it for every custom
    // scheme, the drive's own files too, so it proves nothing either way.
    const QString onTheCd = QLatin1StringView(kOnTheCd);
    QVERIFY2(controlReads.contains(u"xhr "_s + kControlText + u" => "_s + onTheCd),
             qPrintable(controlReads.join(u'\n')));
    QVERIFY2(controlReads.contains(u"iframe "_s + kControlText + u" => "_s + onTheCd),
             qPrintable(controlReads.join(u'\n')));
    QVERIFY2(controlReads.contains(u"img "_s + kControlImage + u" => largura 7"_s),
             qPrintable(controlReads.join(u'\n')));
}

void BrowserTest::removedCdLeavesTheBrowserWorking() {
    // A CD of its own in drive E:, so the other tests keep theirs.
    const QString cd = dir_.filePath(u"cd-e"_s);
    writePage(cd + u"/lex2000/joia.htm"_s, u"<html><body><p>joia</p></body></html>"_s);
    QVERIFY(drives_.map(u'E', cd));
    QVERIFY(load(u"E:\\lex2000\\joia.htm"_s));
    // The medium goes away: its folder disappears under the mapping.
    QVERIFY(QDir(cd).removeRecursively());
    // The reader's own page, a document that completes like any other, names
    // the file as text, markup in its name too, and, where the drive holds
    // nothing (all but D:), tells how to give the CD; its link leads home.
    for (const QString& address :
         {u"E:\\lex2000\\v7.htm"_s, u"Q:\\lex2000\\v7.htm"_s, u"D:\\lex2000\\v9.htm"_s,
          u"D:\\lex2000\\<b>x<\\b>.htm"_s, u"D:\\lex2000\\<script>alert(1)<\\script>.htm"_s}) {
        QVERIFY(load(address));
        const QString text =
            BrowserDriver(browser_->view()).evaluate(u"document.body.innerText"_s).toString();
        QVERIFY2(
            text.contains(address + u" não foi encontrado"_s) &&
                text.contains(u"--drive "_s + address[0] + u":=PASTA"_s) == (address[0] != u'D'),
            qPrintable(text));
        // The one element around the name is the page's own.
        QCOMPARE(BrowserDriver(browser_->view())
                     .evaluate(u"document.querySelectorAll('b, script').length"_s)
                     .toInt(),
                 1);
    }
    clickToLoad(u"a"_s);
    QCOMPARE(browser_->view()->title(), u"Início"_s);
    // Where the drive holds nothing, a link asks where the CD is now.
    QVERIFY(load(u"Q:\\lex2000\\v7.htm"_s));
    sink_.rule = [](const QString&, bool& cancel) { cancel = true; };  // as the reader answers it
    click(u"a[href$=\"lumera-indicar-o-cd\"]"_s);
    QTRY_VERIFY(sink_.urls.last().endsWith(u"lex2000\\lumera-indicar-o-cd"_s));
    sink_.rule = nullptr;
    // Put back, the same drive serves its pages again.
    writePage(cd + u"/lex2000/v1.htm"_s, u"<html><body><p id='de-volta'>um</p></body></html>"_s);
    QVERIFY(load(u"E:\\lex2000\\v1.htm"_s));
    QTRY_VERIFY(BrowserDriver(browser_->view())
                    .evaluate(u"!!document.getElementById('de-volta')"_s)
                    .toBool());
}

int main(int argc, char** argv) {
    // The settings and the documents folder of this run only.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    QDir().mkpath(home.filePath("Documents"));
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    BrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser.moc"
