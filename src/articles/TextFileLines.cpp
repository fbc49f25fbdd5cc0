#include "articles/TextFileLines.h"

#include "host/Windows1252.h"

namespace lumera::textfile {

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'\r') {
            ++i;
            continue;
        }
        lines.append(text.mid(lineStart, i - lineStart));
        ++i;
        if (i < text.size() && text[i] == u'\n') ++i;
        lineStart = i;
    }
    if (lineStart < text.size()) lines.append(text.mid(lineStart));
    return lines;
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out.append(windows1252::encodeWithReferences(line)).append("\r\n");
    }
    return out;
}

}  // namespace lumera::textfile
