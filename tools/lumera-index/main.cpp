// Builds the full-text index the reader searches.
#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>

#include "IndexerCommand.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return lumera::RunIndexer(app.arguments().mid(1), out, err, isatty(STDERR_FILENO) != 0);
}
