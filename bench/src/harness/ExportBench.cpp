// The ZIM export: lumera-cli export --zim timed as a whole process, with its
// peak memory and the file's size beside the edition's own files.
#include <sys/resource.h>

#include <QFileInfo>
#include <QProcess>

#include "Benches.h"

namespace lumera::bench {

void benchExport(const BenchContext& context, const QString& cliProgram) {
    const QString zim = context.edition + QStringLiteral("/bench-export.zim");
    QFile::remove(zim);
    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto start = Clock::now();
    cli.start(cliProgram, {QStringLiteral("-C"), context.edition, QStringLiteral("--drive"),
                           QStringLiteral("D:=") + context.edition + QStringLiteral("/cd"),
                           QStringLiteral("export"), QStringLiteral("--zim"), zim});
    cli.waitForFinished(-1);
    const double seconds = millisecondsSince(start) / 1000.0;
    if (cli.exitCode() != 0) throw std::runtime_error("lumera-cli export failed");
    // The export is this process's only child: its figures are the children's.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    const double peakMb = double(usage.ru_maxrss) / 1024.0;
    const double zimMb = double(QFileInfo(zim).size()) / 1e6;
    const double databaseMb =
        double(QFileInfo(context.edition + QStringLiteral("/lex.mdb")).size()) / 1e6;
    QFile::remove(zim);

    context.out << "\n### ZIM export\n\n";
    Table table(context.out, {"what lumera-cli said", "seconds", "CPU seconds", "peak memory (MB)",
                              "ZIM (MB)", "lex.mdb (MB)"});
    table.row({QString::fromUtf8(cli.readAllStandardOutput()).section(u';', 0, 0).trimmed(),
               number(seconds, 1), number(cpu, 1), number(peakMb), number(zimMb, 1),
               number(databaseMb, 1)});
    context.summary.put(QStringLiteral("export.seconds"), seconds);
    context.summary.put(QStringLiteral("export.cpu"), cpu);
    context.summary.put(QStringLiteral("export.peak.mb"), peakMb);
    context.summary.put(QStringLiteral("export.zim.mb"), zimMb);
    context.summary.put(QStringLiteral("lex.mb"), databaseMb);
}

}  // namespace lumera::bench
