#include "app/LexIni.h"

#include <QFile>
#include <QStringDecoder>

#include "host/Windows1252.h"

namespace lumera {
namespace {

QString decodeIni(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return windows1252::decode(bytes);
}

// Trims blanks (spaces only, as the original trim did), not tabs.
QString trimBlanks(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin] == u' ') ++begin;
    while (end > begin && s[end - 1] == u' ') --end;
    return s.mid(begin, end - begin);
}

QList<QStringView> splitLines(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

}  // namespace

ContentPaths ParseLexIni(const QByteArray& bytes) {
    const QString text = decodeIni(bytes);
    QString pathLine;
    QString cdRomLine;
    for (const QStringView line : splitLines(text)) {
        const QString upper = line.toString().toUpper();
        if (upper.contains(u"PATH")) pathLine = trimBlanks(line.toString());
        if (upper.contains(u"CDROM")) cdRomLine = trimBlanks(line.toString());
    }

    ContentPaths paths;
    // A path line shorter than five characters leaves InstallPath empty.
    if (pathLine.size() >= 5) paths.InstallPath = pathLine.right(pathLine.size() - 5);
    const qsizetype eq = cdRomLine.indexOf(u'=');
    paths.CdRomPath = cdRomLine.mid(eq + 1, 2);
    paths.InstallPath = ShortNameFixup(paths.InstallPath);
    return paths;
}

QString ShortNameFixup(const QString& installPath) {
    QString path = installPath;
    if (path.toUpper().contains(u"PROGRAM FILES")) {
        path.replace(u"Program Files"_qs, u"progra~1"_qs);
    }
    for (const auto form :
         {u"Arquivos de programas", u"Arquivos de Programas", u"Arquivos De Programas"}) {
        if (path.toUpper().contains(u"ARQUIVOS DE PROGRAMAS")) {
            path.replace(QString::fromUtf16(form), u"Arquiv~1"_qs);
        }
    }
    return path;
}

LexIniReading ReadLexIni() {
    LexIniReading reading;
    QFile file(QStringLiteral("lex.ini"));
    if (!file.open(QIODevice::ReadOnly)) return reading;
    reading.found = true;
    reading.paths = ParseLexIni(file.readAll());
    return reading;
}

}  // namespace lumera
