// The reader from start to end with the keyboard alone, at 200 % scale: real
// key presses, no mouse event. Each window is saved as it shows at that
// scale (build/tour-200) and no control's text may be cut.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "browser/DriveUrls.h"
#include "browser/WebEngineBrowser.h"
#include "reader/Reader.h"
#include "support/BrowserDriver.h"
#include "support/SampleCopy.h"
#include "ui/BrowserPane.h"
#include "ui/FindBar.h"
#include "ui/Form1.h"
#include "ui/PictureWindow.h"
#include "ui/SetupWindow.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

// The controls of window whose caption does not fit their box or the window.
QStringList clipped(QWidget* window) {
    QStringList cut;
    const auto check = [&](QWidget* w, const QRect& box, QString text, bool wrap) {
        text.replace(u"&&"_qs, u"\x01"_qs).remove(u'&').replace(u'\x01', u'&');
        const QFontMetrics metrics = w->fontMetrics();
        const QSize need = wrap ? metrics.boundingRect(box, Qt::TextWordWrap, text).size()
                                : QSize(metrics.horizontalAdvance(text), metrics.height());
        const QRect inWindow(w->mapTo(window, box.topLeft()), box.size());
        if (need.width() > box.width() || need.height() > box.height() ||
            !window->rect().contains(inWindow))
            cut << w->objectName() + u':' + text;
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
            check(w, label->contentsRect(), label->text(), label->wordWrap());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(w, button->rect().adjusted(3, 0, -3, 0), button->text(), false);
        if (auto* bar = qobject_cast<QMenuBar*>(w))
            for (QAction* item : bar->actions())
                check(w, bar->actionGeometry(item), item->text(), false);
    }
    return cut;
}

// Saves the window into the tour's output; what is cut, if anything.
QString shot(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/tour-200"_qs;
    QDir().mkpath(dir);
    if (window->devicePixelRatio() != 2.0) return u"not at 200 %"_qs;
    if (!window->grab().save(dir + u'/' + name + u".png"_qs)) return u"not saved"_qs;
    return clipped(window).join(u", "_qs);
}

QWidget* shown(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : QApplication::activeWindow(), key, modifiers);
}

}  // namespace

class KeyboardTourTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void setupWindow();
    void keyboardOnly();
    void cleanup() { failed_ = failed_ || QTest::currentTestFailed(); }

  private:
    QString evaluate(const QString& script) { return driver_->evaluate(script).toString(); }
    bool tabTo(const QString& hrefPattern);
    bool showing(const QString& text) {
        return waitUntil([&] { return evaluate(u"document.body.innerText"_qs).contains(text); });
    }

    QTemporaryDir dir_;
    std::unique_ptr<Reader> reader_;
    std::unique_ptr<BrowserDriver> driver_;
    bool failed_ = false;
};

void KeyboardTourTest::initTestCase() {
    QVERIFY(copySample(QDir(dir_.path())));
    QVERIFY(QDir::setCurrent(dir_.filePath(u"install"_qs)));
    reader_ = std::make_unique<Reader>(QStringList{u"D:="_qs + dir_.filePath(u"cd"_qs)});
    driver_ = std::make_unique<BrowserDriver>(reader_->browser().view());
    reader_->start();
    QVERIFY(QTest::qWaitForWindowActive(&reader_->window()));
    QVERIFY(showing(u"Bem-vindo"_qs));
}

void KeyboardTourTest::setupWindow() {
    SetupWindow setup({u"/media/cdrom"_qs}, true);
    setup.show();
    QVERIFY(QTest::qWaitForWindowExposed(&setup));
    const QString cut = shot(&setup, u"instalar"_qs);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
}

// Tab through the page until a link whose address matches has the focus.
bool KeyboardTourTest::tabTo(const QString& hrefPattern) {
    const QString focused = u"(document.activeElement.href || '')"_qs;
    for (int i = 0; i < 80 && !QRegularExpression(hrefPattern).match(evaluate(focused)).hasMatch();
         ++i) {
        press(Qt::Key_Tab);
        QTest::qWait(30);
    }
    return QRegularExpression(hrefPattern).match(evaluate(focused)).hasMatch();
}

void KeyboardTourTest::keyboardOnly() {
    QVERIFY(!failed_);
    Form1& main = reader_->window();
    main.activateWindow();  // as started, before the set-up window above
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QWidget* dtsearch = nullptr;
    QListView* found = nullptr;
    const auto lookUp = [&](const QString& text) {
        press(Qt::Key_L, Qt::ControlModifier);  // the home page's search field
        if (!waitUntil([&] { return evaluate(u"document.activeElement.name"_qs) == u"request"; }))
            return false;
        QTest::keyClicks(QApplication::focusWidget(), text);
        press(Qt::Key_Return);
        return waitUntil([&] { return (dtsearch = shown(u"dtsearch"_qs)) != nullptr; }) &&
               QTest::qWaitForWindowActive(dtsearch) &&
               (found = dtsearch->findChild<QListView*>(u"FoundList"_qs)) != nullptr &&
               waitUntil([&] { return found->isVisible() && found->model()->rowCount() > 0; });
    };
    const QString marks =
        u"Array.from(document.querySelectorAll('mark')).map(m => m.textContent).join()"_qs;
    // Portugal's spelling of 2002, where the sample writes arquitetura: one
    // title, which Enter opens as the focus shows it, its own spelling marked.
    QVERIFY(lookUp(u"arquitectura"_qs));
    QCOMPARE(dtsearch->findChild<QLabel*>(u"OtherSpellings"_qs)->text(),
             u"também procurado: arquitetura"_qs);
    QCOMPARE(QApplication::focusWidget(), found);
    press(Qt::Key_Return);
    QVERIFY(waitUntil([&] { return evaluate(marks) == u"arquitetura"_qs; }));
    QString cut = shot(dtsearch, u"procura"_qs);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    press(Qt::Key_Escape);
    QVERIFY(waitUntil([&] { return !shown(u"dtsearch"_qs); }));
    press(Qt::Key_Left, Qt::AltModifier);  // back home
    QVERIFY(waitUntil([&] { return evaluate(u"document.forms.length"_qs) == u"1"; }));

    QVERIFY(lookUp(u"navegacoes"_qs));
    QCOMPARE(QApplication::focusWidget(), found);
    press(Qt::Key_Down);
    const QString title = found->currentIndex().data().toString();
    QVERIFY(!title.isEmpty());
    press(Qt::Key_Return);  // the chosen title
    QVERIFY(waitUntil([&] { return evaluate(u"document.title"_qs).contains(title); }));
    press(Qt::Key_Escape);
    QVERIFY(waitUntil([&] { return !shown(u"dtsearch"_qs); }));
    QVERIFY(QTest::qWaitForWindowActive(&main));

    // A link of the article, by Tab inside the page.
    QVERIFY(tabTo(u"/tomo"_qs));
    const QString link = evaluate(u"document.activeElement.textContent"_qs).trimmed();
    press(Qt::Key_Return);
    QVERIFY(waitUntil([&] { return evaluate(u"document.title"_qs).contains(link); }));
    // The menu's accelerator Alt+I, then the picture window by its link.
    press(Qt::Key_I, Qt::AltModifier);
    QVERIFY(showing(u"Bem-vindo"_qs));
    QVERIFY(tabTo(u"filme\\.tv$"_qs));
    press(Qt::Key_Return);
    QVERIFY(waitUntil(
        [&] { return reader_->pictureWindow() && reader_->pictureWindow()->isActiveWindow(); }));
    cut = shot(reader_->pictureWindow(), u"tv"_qs);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    press(Qt::Key_Escape);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QVERIFY(reader_->pictureWindow()->isHidden());

    press(Qt::Key_Left, Qt::AltModifier);  // back to the article followed
    QVERIFY(waitUntil([&] {
        return evaluate(u"document.title"_qs).contains(link) &&
               !reader_->browser().view()->page()->isLoading();
    }));
    press(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), link);
    FindBar* bar = reader_->pane().findBar();
    QVERIFY(waitUntil([&] { return bar->statusText().startsWith(u"1 de "_qs); }));
    cut = shot(&main, u"principal"_qs);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    press(Qt::Key_Escape);
    QVERIFY(bar->isHidden());

    // Caret browsing: Shift with the arrows selects text, from the word found.
    press(Qt::Key_F7);
    QVERIFY(waitUntil(
        [&] { return evaluate(u"String(document.body.isContentEditable)"_qs) == u"true"; }));
    for (int i = 0; i < 4; ++i) press(Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(waitUntil(
        [&] { return evaluate(u"window.getSelection().toString()"_qs) == link.left(4); }));
    press(Qt::Key_X);  // typing changes nothing
    QTest::qWait(300);
    QCOMPARE(evaluate(u"window.getSelection().toString()"_qs), link.left(4));
    press(Qt::Key_F7);
    QVERIFY(waitUntil(
        [&] { return evaluate(u"String(document.body.isContentEditable)"_qs) == u"false"; }));

    // Fechar by its accelerator ends the program at once, with success.
    QTextStream(stdout) << "Alt+F\n" << Qt::flush;
    press(Qt::Key_F, Qt::AltModifier);
    QTest::qWait(2000);
    QFAIL("Alt+F não fechou o leitor");
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    driveurls::registerSchemes();
    QApplication app(argc, argv);
    KeyboardTourTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keyboard_tour.moc"
