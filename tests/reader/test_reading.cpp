// Reading as people read today, on the sample edition in the real reader:
// dark pages that keep their pictures, favourites, the history, where the
// reader stopped and the citation of an article, kept across runs and across
// a process killed right after an addition.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>

#include "browser/DriveUrls.h"
#include "browser/WebEngineBrowser.h"
#include "reader/Reader.h"
#include "reading/ReadingActions.h"
#include "reading/ReadingListsWindow.h"
#include "reading/ReadingSession.h"
#include "reading/ReadingStore.h"
#include "support/BrowserDriver.h"
#include "ui/Form1.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

constexpr char kKillChild[] = "LUMERA_READING_KILL_CHILD";

QString storeFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           u"/leitura.sqlite"_qs;
}

QString cdDrive() {
    return u"D:="_qs + qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_qs;
}

// The reader's action of contextActions() named text.
QAction* readingAction(Reader& reader, const QString& text) {
    for (QAction* action : reader.reading().contextActions())
        if (action && action->text() == text) return action;
    return nullptr;
}

// Asks for the article at a CD address as a link to it does; its title once shown.
QString openArticle(Reader& reader, const QString& address) {
    reader.browser().Navigate(address);
    const QString key = address.mid(address.lastIndexOf(u'\\') + 1);
    waitUntil([&] { return reader.session().article().key == key; });
    return reader.session().article().title;
}

// Run in a process of its own: an article opened and added to the
// favourites, then "added" printed and the process left waiting to be killed.
int addThenWait() {
    Reader reader({cdDrive()});
    reader.start();
    openArticle(reader, u"D:\\lex2000\\tomo98c\\fado.htm"_qs);
    const bool added = reader.reading().addFavourite(u"antes do kill"_qs);
    QTextStream(stdout) << (added ? "added" : "failed") << Qt::endl;
    return QApplication::exec();
}

}  // namespace

class ReadingTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void readingAcrossRuns();
    void killedRightAfterAnAddition();

  private:
    std::unique_ptr<Reader> startReader();
    QVariant evaluate(const QString& script) {
        return BrowserDriver(reader_->browser().view()).evaluate(script);
    }
    QImage grabView() { return reader_->browser().view()->grab().toImage(); }

    QTemporaryDir dir_;
    std::unique_ptr<Reader> reader_;
};

void ReadingTest::initTestCase() {
    const QString sample = qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample"_qs;
    QCOMPARE(QProcess::execute(u"cp"_qs, {u"-r"_qs, sample, dir_.filePath(u"lex"_qs)}), 0);
    QVERIFY(QDir::setCurrent(dir_.filePath(u"lex"_qs)));
}

std::unique_ptr<Reader> ReadingTest::startReader() {
    auto reader = std::make_unique<Reader>(QStringList{cdDrive()});
    reader->window().resize(1000, 700);
    reader->start();
    return reader;
}

void ReadingTest::readingAcrossRuns() {
    reader_ = startReader();
    QVERIFY(QTest::qWaitForWindowExposed(&reader_->window()));
    QStringList titles;
    for (const char* address :
         {"tomo98a\\amazonia.htm", "tomo98b\\revolucao-dos-cravos.htm", "tomo98a\\brasil.htm"}) {
        titles.prepend(openArticle(*reader_, u"D:\\lex2000\\"_qs + QLatin1String(address)));
    }
    QCOMPARE(titles.first(), u"Brasil"_qs);

    // Dark: the page's background dark, the picture largest both
    // ways keeps its pixels as in light.
    QVERIFY(waitUntil([&] {
        return evaluate(
                   u"Array.from(document.images).every(i => i.complete && i.naturalWidth > 0)"_qs)
            .toBool();
    }));
    const QVariantList box =
        evaluate(
            u"(function(){var b=Array.from(document.images).sort((x,y)=>Math.min(y.width,y.height)"
            u"-Math.min(x.width,x.height))[0];b.scrollIntoView();var r=b.getBoundingClientRect();"
            u"return [r.left,r.top,r.width,r.height].map(Math.round);})()"_qs)
            .toList();
    QCOMPARE(box.size(), 4);
    const QRect picture(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt());
    QVERIFY(picture.width() > 20 && picture.height() > 20);
    waitUntil([] { return false; }, 500);  // painted
    const QImage light = grabView().copy(picture);
    QVERIFY(light.pixel(picture.width() / 3, picture.height() / 3) !=
            light.pixel(2 * picture.width() / 3, 2 * picture.height() / 3));  // painted
    const auto background = [&] {  // the mean of its red, green and blue
        return evaluate(
                   u"getComputedStyle(document.body).backgroundColor.match(/\\d+/g)"
                   u".slice(0,3).reduce((s,c)=>s+ +c,0)/3"_qs)
            .toInt();
    };
    QVERIFY(background() > 128);
    QAction* dark = readingAction(*reader_, u"Modo escuro"_qs);
    QVERIFY(dark && !dark->isChecked());
    dark->trigger();
    QVERIFY(waitUntil([&] { return background() < 64; }));
    QVERIFY(waitUntil([&] {
        const QImage page = grabView();
        return QColor(page.pixel(2, page.height() - 3)).lightness() < 64 &&
               page.copy(picture) == light;
    }));

    // The citation, from the page's context menu.
    QWebEngineView* view = reader_->browser().view();
    QTimer::singleShot(0, view,
                       [view] { Q_EMIT view->customContextMenuRequested(QPoint(40, 40)); });
    QVERIFY(waitUntil([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QList<QAction*> items = menu->actions();
    const auto citation = std::find_if(items.begin(), items.end(),
                                       [](QAction* a) { return a->text() == u"Copiar citação"; });
    QVERIFY(citation != items.end());
    (*citation)->trigger();
    menu->close();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"BRASIL. In: LUMERA: enciclopédia multimídia. Edição 2002. [S. l.]: Ondarel, 2002. "
             u"1 CD-ROM."_qs);

    // A favourite with its note, asked for in a dialog.
    QTimer::singleShot(0, [] {
        waitUntil([] { return qobject_cast<QInputDialog*>(QApplication::activeModalWidget()); });
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), u"para a escola"_qs);
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    readingAction(*reader_, u"Adicionar aos Favoritos…"_qs)->trigger();

    // Where it stopped: scrolled, kept, and the next run opens it there.
    ReadingSession::setReopensLast(true);
    evaluate(u"window.scrollTo(0, 0); window.scrollTo(0, 400)"_qs);
    const int stopped = evaluate(u"window.scrollY"_qs).toInt();
    QVERIFY(stopped > 100);
    QVERIFY(waitUntil([&] { return QSettings().value(u"leitura/posicao"_qs).toInt() == stopped; }));

    reader_.reset();
    reader_ = startReader();
    QVERIFY(waitUntil([&] { return reader_->session().article().title == titles.first(); }));
    QVERIFY(waitUntil([&] { return evaluate(u"window.scrollY"_qs).toInt() == stopped; }));
    QVERIFY(background() < 64);  // dark kept

    // The history, newest first; the favourite listed and opened with Enter.
    readingAction(*reader_, u"Histórico…"_qs)->trigger();
    QTreeWidget* history = reader_->reading().listsWindow()->list(ReadingListsWindow::History);
    QStringList listed;
    for (int row = 0; row < history->topLevelItemCount(); ++row)
        listed << history->topLevelItem(row)->text(0);
    QCOMPARE(listed, titles);
    reader_->window().menuBar()->actions().value(0)->trigger();  // Início
    QVERIFY(waitUntil([&] { return !reader_->session().article().isArticle(); }));
    reader_->reading().listsWindow()->showTab(ReadingListsWindow::Favourites);
    QTreeWidget* favourites =
        reader_->reading().listsWindow()->list(ReadingListsWindow::Favourites);
    QCOMPARE(favourites->topLevelItemCount(), 1);
    QCOMPARE(favourites->topLevelItem(0)->text(0), titles.first());
    QCOMPARE(favourites->topLevelItem(0)->text(1), u"para a escola"_qs);
    QTest::keyClick(favourites, Qt::Key_Return);
    QVERIFY(waitUntil([&] { return reader_->session().article().title == titles.first(); }));

    // "Indicar onde está o CD…" (the missing-file page's link) asks where the
    // CD is now; going on without it leaves the reader as it was.
    QString asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!question) return;
        asked = question->text();
        for (QAbstractButton* button : question->buttons())
            if (button->text() == u"Continuar sem o CD"_qs) button->click();
    });
    answer.start(50);
    reader_->browser().Navigate(u"D:\\lex2000\\lumera-indicar-o-cd"_qs);
    QVERIFY(waitUntil([&] { return asked.contains(u"Indique onde está o CD"_qs); }));
    reader_.reset();
}

// kill -9 right after an addition: the favourite and the visit are in the file.
void ReadingTest::killedRightAfterAnAddition() {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kKillChild), u"1"_qs);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath());
    QVERIFY(waitUntil([&] { return child.canReadLine(); }, 90000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("added"));
    child.kill();  // SIGKILL
    QVERIFY(child.waitForFinished());
    const ReadingStore store(storeFile());
    QCOMPARE(store.favourites().last().key, u"fado.htm"_qs);
    QCOMPARE(store.favourites().last().note, u"antes do kill"_qs);
    QCOMPARE(store.visits().first().key, u"fado.htm"_qs);
}

int main(int argc, char** argv) {
    // The settings and the lists of this run only, shared with its child.
    // The child has settings of its own: it opens no article at start.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_qs).toUtf8());
    if (!qEnvironmentVariableIsSet(kKillChild))
        qputenv("XDG_DATA_HOME", home.filePath(u"data"_qs).toUtf8());
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kKillChild)) return addThenWait();
    ReadingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_reading.moc"
