// The reader: cold start to the home page shown, a click on an article link to
// its page shown, and the peak memory of the process tree.
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Benches.h"
#include "browser/WebEngineBrowser.h"
#include "database/JetDatabase.h"
#include "reader/Reader.h"
#include "ui/Form1.h"

namespace lumera::bench {
namespace {

// CLOCK_MONOTONIC in ms: the same clock in the parent and the child.
double monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Waits in a real event loop: QTest::qWaitFor sleeps between rounds of
// events, which starves the browser's own scheduling.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = 30000) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    poll.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool answered = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        answered = true;
    });
    return waitUntil([&] { return answered; }, 10000) ? result : QVariant();
}

// Proportional set size in kB of a process and all its descendants.
qint64 treePss(qint64 root) {
    std::map<qint64, qint64> parentOf;
    QDirIterator procs(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (procs.hasNext()) {
        const QString dir = procs.next();
        bool isPid = false;
        const qint64 pid = QDir(dir).dirName().toLongLong(&isPid);
        if (!isPid) continue;
        QFile stat(dir + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 1) parentOf[pid] = fields[1].toLongLong();
    }
    qint64 total = 0;
    for (const auto& [pid, parent] : parentOf) {
        qint64 p = pid;
        while (p > 1 && p != root) p = parentOf.count(p) ? parentOf[p] : 0;
        if (p != root) continue;
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:")) total += line.mid(4).trimmed().split(' ')[0].toLongLong();
        }
    }
    return total;
}

}  // namespace

int runReaderChild(const QString& edition, int clicks, const QString& cd) {
    QDir::setCurrent(edition);
    Reader reader({QStringLiteral("D:=") + cd});
    reader.window().resize(1000, 700);
    reader.start();
    QWebEngineView* view = reader.browser().view();
    const auto shown = [&](const QString& ending) {
        return waitUntil([&] {
            return view->url().toString().toLower().endsWith(ending) && !view->page()->isLoading();
        });
    };
    if (!shown(QStringLiteral("/lex2000/joia.htm"))) return 3;
    QTextStream out(stdout);
    out << "home " << QString::number(monotonicMs(), 'f', 3) << "\n";
    out.flush();
    for (int i = 0; i < clicks; ++i) {
        const QVariantList xy =
            evaluate(view->page(),
                     QStringLiteral("(function(){var e=document.querySelectorAll('ul a')[%1];"
                                    "var r=e.getBoundingClientRect();"
                                    "return [Math.round(r.left+r.width/2),"
                                    "Math.round(r.top+r.height/2)];})()")
                         .arg(i))
                .toList();
        if (xy.size() != 2) return 4;
        const double start = monotonicMs();
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {},
                          QPoint(xy[0].toInt(), xy[1].toInt()));
        if (!shown(QStringLiteral("/vf.htm"))) return 5;
        out << "click " << QString::number(monotonicMs() - start, 'f', 3) << "\n";
        out.flush();
        view->page()->triggerAction(QWebEnginePage::Back);
        if (!shown(QStringLiteral("/lex2000/joia.htm"))) return 6;
    }
    return 0;
}

namespace {

struct ReaderFigures {
    Samples startTimes, clickTimes;
    qint64 peakPss = 0;
};

ReaderFigures measureReader(const BenchContext& context, const QString& selfProgram,
                            const QString& cd) {
    const int starts = context.quick ? 1 : 3;
    const int clicks = context.quick ? 3 : 10;
    ReaderFigures figures;
    for (int run = 0; run < starts; ++run) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        const double launched = monotonicMs();
        child.start(selfProgram,
                    {QStringLiteral("reader-child"), context.edition, QString::number(clicks), cd});
        child.waitForStarted();
        QByteArray output;
        while (!child.waitForFinished(25)) {
            figures.peakPss = std::max(figures.peakPss, treePss(child.processId()));
            output += child.readAllStandardOutput();
        }
        output += child.readAllStandardOutput();
        if (child.exitCode() != 0) {
            QTextStream(stderr) << "reader run failed (" << child.exitCode()
                                << "): " << child.readAllStandardError() << "\n";
            continue;
        }
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("home ")) figures.startTimes.add(line.mid(5).toDouble() - launched);
            if (line.startsWith("click ")) figures.clickTimes.add(line.mid(6).toDouble());
        }
    }
    return figures;
}

// The edition's CD tree as a disc image, made once with xorriso; empty when
// xorriso is missing.
QString discImageOf(const QString& edition) {
    const QString image = QDir(edition).absoluteFilePath(QStringLiteral("cd.iso"));
    if (QFileInfo::exists(image)) return image;
    QProcess xorriso;
    xorriso.start(QStringLiteral("xorriso"),
                  {QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-quiet"),
                   QStringLiteral("-J"), QStringLiteral("-R"), QStringLiteral("-o"), image,
                   QDir(edition).absoluteFilePath(QStringLiteral("cd"))});
    const bool made = xorriso.waitForFinished(600000) && xorriso.exitCode() == 0;
    return made ? image : QString();
}

}  // namespace

void benchReader(const BenchContext& context, const QString& selfProgram) {
    // A Jet copy of the edition is timed under its own heading and keys, from
    // the folder only: the image's cost is the drive's, measured once.
    QFile database(context.edition + QStringLiteral("/lex.mdb"));
    const bool jet =
        database.open(QIODevice::ReadOnly) && JetDatabase::recognizes(database.read(32));
    const QString keys = jet ? QStringLiteral("reader.jet.") : QStringLiteral("reader.");
    const ReaderFigures folder =
        measureReader(context, selfProgram, QDir(context.edition).absoluteFilePath("cd"));
    const QString image = jet ? QString() : discImageOf(context.edition);
    const ReaderFigures fromImage =
        image.isEmpty() ? ReaderFigures() : measureReader(context, selfProgram, image);
    context.out << "\n### The reader (Qt WebEngine, "
                << qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") << ")"
                << (jet ? ", Jet copy of the edition" : "") << "\n\n";
    Table table(context.out, {"measure", "CD from", "n", "median", "max", "goal"});
    for (const auto& [source, f] : {std::pair{QStringLiteral("folder"), &folder},
                                    std::pair{QStringLiteral("disc image"), &fromImage}}) {
        if (f->startTimes.size() == 0) continue;
        table.row({QStringLiteral("cold start to the home page shown (ms)"), source,
                   number(f->startTimes.size()), ms(f->startTimes.median()),
                   ms(f->startTimes.quantile(1)), QStringLiteral("< 1500")});
        table.row({QStringLiteral("click on an article link to its page shown (ms)"), source,
                   number(f->clickTimes.size()), ms(f->clickTimes.median()),
                   ms(f->clickTimes.quantile(1)), QStringLiteral("< 150")});
    }
    table.row({QStringLiteral("peak PSS of the process tree (MB)"), QStringLiteral("folder"),
               number(folder.startTimes.size()), number(double(folder.peakPss) / 1024.0),
               QStringLiteral("–"), QStringLiteral("–")});
    context.out << "\nCold start: from the process being launched to the home page loaded "
                   "(address and load finished). Click: a real mouse click on a link of the "
                   "home page to the article page `vf.htm` loaded. PSS summed over the "
                   "reader and its WebEngine processes, sampled every 25 ms."
                << (jet ? ""
                        : " The disc image is the edition's CD tree made into an ISO 9660 "
                          "image (Joliet, Rock Ridge) with xorriso and mapped as drive D: in "
                          "place of the folder")
                << (!jet && image.isEmpty() ? " (not measured: xorriso is missing)" : "")
                << (jet ? "\n" : ".\n");
    context.summary.put(keys + QStringLiteral("start"), folder.startTimes.median());
    context.summary.put(keys + QStringLiteral("click"), folder.clickTimes.median());
    context.summary.put(keys + QStringLiteral("click.max"), folder.clickTimes.quantile(1));
    context.summary.put(keys + QStringLiteral("pss"), double(folder.peakPss) / 1024.0);
    if (!image.isEmpty()) {
        context.summary.put(QStringLiteral("reader.start.image"), fromImage.startTimes.median());
    }
}

}  // namespace lumera::bench
