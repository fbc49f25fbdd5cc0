// A content page in the real web view tries every way we know to read a file
// outside the mapped drives and the installation folder: file URLs, "..",
// percent-encoded separators, a symbolic link, in fetch, XHR, iframe and img.
// None may bring back a byte of it. And a CD taken out while the reader shows
// its pages leaves the browser working.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/DriveMap.h"
#include "platform/DriveUrls.h"
#include "platform/WebEngineBrowser.h"
#include "support/BrowserWindow.h"

using namespace lumera;
using namespace Qt::StringLiterals;

namespace {

constexpr char kSecret[] = "SEGREDO-FORA-DO-CD";
constexpr char kOnTheCd[] = "CONTEUDO-DO-CD";
// The control: files on the mapped drive, which the same probes must read, so
// that an empty result above means refused, not a probe that never worked.
const QString kControlText = u"d:/lex2000/aberto.txt"_s;
const QString kControlImage = u"d:/lex2000/ponto.png"_s;

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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

class ContentIsolationTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void pagesCannotReadOutside();
    void removedCdLeavesTheBrowserWorking();

  private:
    bool load(const QString& target);
    QVariant evaluate(const QString& script);

    QTemporaryDir dir_;
    DriveMap drives_;
    std::unique_ptr<WebEngineBrowser> browser_;
    std::unique_ptr<QWidget> window_;
};

void ContentIsolationTest::initTestCase() {
    const QString cd = dir_.filePath(u"cd"_s);
    const QString outside = dir_.filePath(u"fora"_s);
    writeFile(outside + u"/segredo.txt"_s, kSecret);
    // A sibling whose name starts like the CD's folder.
    writeFile(dir_.filePath(u"cdx/segredo.txt"_s), kSecret);
    writeFile(cd + u"/lex2000/joia.htm"_s, "<html><body><p id='ok'>joia</p></body></html>");
    writeFile(cd + u"/lex2000/v1.htm"_s, "<html><body><p>um</p></body></html>");
    writeFile(cd + u"/lex2000/aberto.txt"_s, kOnTheCd);
    QImage dot(7, 5, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QVERIFY(dot.save(cd + u"/lex2000/ponto.png"_s));
    QVERIFY(QFile::link(outside + u"/segredo.txt"_s, cd + u"/lex2000/atalho.txt"_s));
    QVERIFY(QFile::link(outside, cd + u"/lex2000/pasta"_s));
    const QString secretPath = QFileInfo(outside + u"/segredo.txt"_s).canonicalFilePath();
    writeFile(
        cd + u"/lex2000/sonda.htm"_s,
        probePage({u"file:///etc/passwd"_s, u"file://"_s + secretPath, u"d:/../fora/segredo.txt"_s,
                   u"d:/lex2000/../../fora/segredo.txt"_s,
                   u"d:/lex2000/%2E%2E/%2E%2E/fora/segredo.txt"_s,
                   u"d:/lex2000/..%2F..%2Ffora%2Fsegredo.txt"_s,
                   u"d:/lex2000/..%5C..%5Cfora%5Csegredo.txt"_s, u"d:%2F..%2Fcdx%2Fsegredo.txt"_s,
                   u"d:/../cdx/segredo.txt"_s, u"d:/lex2000/atalho.txt"_s,
                   u"d:/lex2000/pasta/segredo.txt"_s, u"/etc/passwd"_s, u"../../fora/segredo.txt"_s,
                   u"c:/etc/passwd"_s, kControlText, kControlImage}));
    QVERIFY(drives_.map(u'D', cd));

    browser_ = std::make_unique<WebEngineBrowser>(drives_);
    window_ = testing::showInWindow(*browser_);
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

bool ContentIsolationTest::load(const QString& target) {
    QSignalSpy done(browser_.get(), &WebEngineBrowser::documentCompleted);
    browser_->Navigate(target);
    return done.wait(20000);
}

QVariant ContentIsolationTest::evaluate(const QString& script) {
    QVariant result;
    bool answered = false;
    browser_->view()->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        answered = true;
    });
    if (!QTest::qWaitFor([&] { return answered; }, 10000)) return {};
    return result;
}

void ContentIsolationTest::pagesCannotReadOutside() {
    QVERIFY(load(u"D:\\lex2000\\sonda.htm"_s));
    // Every attempt has ended, one way or the other.
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(u"window.pending"_s).toInt() == 0, 20000);
    QTest::qWait(500);
    const QStringList reads = evaluate(u"window.reads"_s).toStringList();
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

void ContentIsolationTest::removedCdLeavesTheBrowserWorking() {
    QVERIFY(load(u"D:\\lex2000\\joia.htm"_s));
    // The medium goes away: its folder disappears under the mapping.
    const QString cd = dir_.filePath(u"cd"_s);
    QVERIFY(QDir(cd).removeRecursively());
    QVERIFY(drives_.existingFile(u"D:\\lex2000\\v1.htm"_s).isEmpty());
    // The navigation still completes (an error page), and nothing crashes.
    QVERIFY(load(u"D:\\lex2000\\v1.htm"_s));
    // Put back, the same drive serves its pages again.
    writeFile(cd + u"/lex2000/v1.htm"_s, "<html><body><p id='de-volta'>um</p></body></html>");
    QVERIFY(load(u"D:\\lex2000\\v1.htm"_s));
    QTRY_VERIFY(evaluate(u"!!document.getElementById('de-volta')"_s).toBool());
}

int main(int argc, char** argv) {
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    ContentIsolationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_content_isolation.moc"
