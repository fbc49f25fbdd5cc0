// The reader: cold start to the home page shown, a click on an article link to
// its page shown, and the peak memory of the process tree.
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Benches.h"
#include "Reader.h"
#include "platform/JetDatabase.h"
#include "platform/WebEngineBrowser.h"
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

int runReaderChild(const QString& edition, int clicks) {
    QDir::setCurrent(edition);
    Reader reader({QStringLiteral("D:=") + QDir(edition).absoluteFilePath(QStringLiteral("cd"))});
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

void benchReader(const BenchContext& context, const QString& selfProgram) {
    const int starts = context.quick ? 1 : 3;
    const int clicks = context.quick ? 3 : 10;
    Samples startTimes, clickTimes;
    qint64 peakPss = 0;
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
                    {QStringLiteral("reader-child"), context.edition, QString::number(clicks)});
        child.waitForStarted();
        QByteArray output;
        while (!child.waitForFinished(25)) {
            peakPss = std::max(peakPss, treePss(child.processId()));
            output += child.readAllStandardOutput();
        }
        output += child.readAllStandardOutput();
        if (child.exitCode() != 0) {
            QTextStream(stderr) << "reader run failed (" << child.exitCode()
                                << "): " << child.readAllStandardError() << "\n";
            continue;
        }
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("home ")) startTimes.add(line.mid(5).toDouble() - launched);
            if (line.startsWith("click ")) clickTimes.add(line.mid(6).toDouble());
        }
    }
    // A Jet copy of the edition is timed under its own heading and keys.
    QFile database(context.edition + QStringLiteral("/lex.mdb"));
    const bool jet =
        database.open(QIODevice::ReadOnly) && JetDatabase::recognizes(database.read(32));
    const QString keys = jet ? QStringLiteral("reader.jet.") : QStringLiteral("reader.");
    context.out << "\n### The reader (Qt WebEngine, "
                << qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") << ")"
                << (jet ? ", Jet copy of the edition" : "") << "\n\n";
    Table table(context.out, {"measure", "n", "median", "max", "goal"});
    table.row({QStringLiteral("cold start to the home page shown (ms)"), number(startTimes.size()),
               ms(startTimes.median()), ms(startTimes.quantile(1)), QStringLiteral("< 1500")});
    table.row({QStringLiteral("click on an article link to its page shown (ms)"),
               number(clickTimes.size()), ms(clickTimes.median()), ms(clickTimes.quantile(1)),
               QStringLiteral("< 150")});
    table.row({QStringLiteral("peak PSS of the process tree (MB)"), number(starts),
               number(double(peakPss) / 1024.0), QStringLiteral("–"), QStringLiteral("–")});
    context.out << "\nCold start: from the process being launched to the home page loaded "
                   "(address and load finished). Click: a real mouse click on a link of the "
                   "home page to the article page `vf.htm` loaded. PSS summed over the "
                   "reader and its WebEngine processes, sampled every 25 ms.\n";
    context.summary.put(keys + QStringLiteral("start"), startTimes.median());
    context.summary.put(keys + QStringLiteral("click"), clickTimes.median());
    context.summary.put(keys + QStringLiteral("click.max"), clickTimes.quantile(1));
    context.summary.put(keys + QStringLiteral("pss"), double(peakPss) / 1024.0);
}

}  // namespace lumera::bench
