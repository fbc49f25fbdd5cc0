// A new user's first run, in the real windows: the set-up window, its
// progress window and the questions, answered with typed text and clicks.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "reader/FirstRun.h"
#include "searchengine/XapianIndexList.h"
#include "support/FileBytes.h"
#include "ui/PortugueseDialogs.h"
#include "ui/SetupWindow.h"

using namespace lumera;
using namespace lumera::testing;

class FirstRunTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() {
        // Qt's own buttons too: the question below is answered with "Sim".
        QVERIFY(SpeakPortugueseInQtDialogs());
        QVERIFY(QProcess::execute(
                    u"cp"_qs,
                    {u"-r"_qs, qEnvironmentVariable("LUMERA_SOURCE_DIR") + u"/content/sample/cd"_qs,
                     dir_.filePath(u"cd"_qs)}) == 0);
    }
    void setsUpAnEdition();

  private:
    QTemporaryDir dir_;
};

// A new user's first run: the set-up window is given the CD folder by typing,
// says what the CD lacks, is given the Windows folder, and installs the
// edition with its index and the CD's drive. Later, that edition without its
// index is offered one at start-up, and Sim builds it.
void FirstRunTest::setsUpAnEdition() {
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const QString cd = dir_.filePath(u"cd"_qs);
    QStringList problems;
    const auto button = [](QWidget* window, const QString& text) {
        for (auto* b : window->findChildren<QPushButton*>()) {
            if (b->text().remove(u'&') == text) return b;
        }
        return static_cast<QPushButton*>(nullptr);
    };
    QTimer answer;  // each window as it comes
    connect(&answer, &QTimer::timeout, this, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(shown)) {
            QPushButton* yes = button(box, u"Sim"_qs);
            QVERIFY(yes);
            QTest::mouseClick(yes, Qt::LeftButton);
        }
        auto* window = qobject_cast<SetupWindow*>(shown);
        if (!window) return;
        QLineEdit* windows = nullptr;
        for (auto* edit : window->findChildren<QLineEdit*>())
            if (!edit->placeholderText().startsWith(u"Pasta"_qs)) windows = edit;
        for (auto* label : window->findChildren<QLabel*>())
            if (label->isVisible() && label->text().startsWith(u"Não"_qs))
                problems << label->text();
        if (window->source().isEmpty()) {
            // Typed, and Enter in the field: Instalar, not a folder chooser.
            QLineEdit* field = window->findChild<QComboBox*>()->lineEdit();
            QTest::keyClicks(field, cd);
            QTest::keyClick(field, Qt::Key_Return);
            return;
        } else if (!problems.isEmpty() && windows->text().isEmpty()) {
            QTest::keyClicks(windows, qEnvironmentVariable("LUMERA_BUILD_DIR") + u"/sample"_qs);
        } else {
            return;
        }
        QTest::mouseClick(button(window, u"Instalar"_qs), Qt::LeftButton);
    });
    answer.start(20);
    bool sample = true;
    const QString folder = RunFirstSetup(false, &sample);
    QCOMPARE(folder, data.path() + u"/lumera/edition"_qs);
    QVERIFY(!sample && problems.size() == 1 && problems[0].contains(u"lex.mdb"_qs));
    QCOMPARE(readBytes(folder + u"/lumera-drives"_qs),
             "D:=" + QFileInfo(cd).canonicalFilePath().toUtf8() + '\n');
    QVERIFY(IsSearchIndexUsable(folder + u"/search.lst"_qs));

    QVERIFY(QDir(folder + u"/indice"_qs).removeRecursively());
    const QString here = QDir::currentPath();
    QDir::setCurrent(folder);
    OfferIndexIfUnusable();
    QDir::setCurrent(here);
    answer.stop();
    qunsetenv("XDG_DATA_HOME");
    QVERIFY(IsSearchIndexUsable(folder + u"/search.lst"_qs));
}

QTEST_MAIN(FirstRunTest)
#include "test_first_run.moc"
