#include "SampleSources.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace lumera::sample {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLastLine = QStringLiteral("</BODY></HTML>");

// Words the page assembly replaces in a template line that holds the body.
const QStringList kPlaceholdersInBody = {QStringLiteral("VejaTambém"), QStringLiteral("FotosI"),
                                         QStringLiteral("Topo1"), QStringLiteral("Topo2")};
// Words that would be replaced again once the title is in a template line.
const QStringList kPlaceholdersInTitle = {QStringLiteral("Nome"), QStringLiteral("Texto")};

QString readUtf8(const QString& path, bool* ok) {
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(file.readAll()) : QString();
}

void checkTitleLine(const QStringList& lines, QStringList* problems) {
    static const QRegularExpression titleLine(QStringLiteral("^<title>([^<>]+)</title>$"));
    int count = 0;
    for (const QString& line : lines) {
        if (!line.contains(QStringLiteral("title"))) continue;
        ++count;
        const auto match = titleLine.match(line);
        if (!match.hasMatch()) {
            problems->append(QStringLiteral("title line holds more than the title: ") + line);
            continue;
        }
        for (const QString& word : kPlaceholdersInTitle)
            if (match.captured(1).contains(word))
                problems->append(QStringLiteral("title contains the placeholder ") + word);
    }
    if (count != 1)
        problems->append(QStringLiteral("%1 lines contain \"title\", expected 1").arg(count));
}

void checkAnchorLine(const QStringList& lines, QStringList* problems) {
    static const QRegularExpression anchorLine(QStringLiteral("^<a name=\"([^\"<>]+)\"></a></p>$"));
    int count = 0;
    for (const QString& line : lines) {
        if (!line.contains(QStringLiteral("name="))) continue;
        ++count;
        if (!anchorLine.match(line).hasMatch())
            problems->append(QStringLiteral("anchor line is not <a name=\"x\"></a></p>: ") + line);
    }
    if (count != 1)
        problems->append(QStringLiteral("%1 lines contain \"name=\", expected 1").arg(count));
}

void checkBody(const QStringList& lines, QStringList* problems) {
    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QStringLiteral("<b>"))) {
            start = i;
            break;
        }
        if (lines[i].contains(QStringLiteral("<p>")))
            problems->append(QStringLiteral("text before the line that opens the body: ") +
                             lines[i]);
    }
    if (start < 0) {
        problems->append(QStringLiteral("no line contains <b>, the body would be empty"));
        return;
    }
    if (lines.last() != kLastLine)
        problems->append(QStringLiteral("last line is not ") + kLastLine);
    for (qsizetype i = start + 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.contains(QStringLiteral("title")) || line.contains(QStringLiteral("name=")))
            problems->append(QStringLiteral("body line contains \"title\" or \"name=\": ") + line);
        if (line.isEmpty() || !(line.endsWith(QLatin1Char(' ')) || line.endsWith(QLatin1Char('>'))))
            problems->append(QStringLiteral("body line does not end in a blank or a tag: ") + line);
        for (const QString& word : kPlaceholdersInBody)
            if (line.contains(word))
                problems->append(QStringLiteral("body contains the placeholder ") + word);
    }
}

QString titleOf(const QStringList& lines) {
    static const QRegularExpression titleLine(QStringLiteral("<title>([^<>]*)</title>"));
    for (const QString& line : lines) {
        const auto match = titleLine.match(line);
        if (match.hasMatch()) return match.captured(1);
    }
    return {};
}

}  // namespace

QStringList checkArticleShape(const QString& text) {
    QStringList problems;
    QString withoutCrLf = text;
    withoutCrLf.remove(kCrLf);
    if (withoutCrLf.contains(QLatin1Char('\n')) || withoutCrLf.contains(QLatin1Char('\r')))
        problems.append(QStringLiteral("line breaks other than CR LF"));
    const QStringList lines = text.split(kCrLf);
    checkTitleLine(lines, &problems);
    checkAnchorLine(lines, &problems);
    checkBody(lines, &problems);
    return problems;
}

QString titleWithoutApostrophes(const QString& title) {
    QString result = title;
    return result.remove(QLatin1Char('\''));
}

QVector<ArticleSource> readArticles(const QString& articlesDir, QStringList* problems) {
    static const QRegularExpression keyPattern(QStringLiteral("^[a-z0-9-]+\\.htm$"));
    QVector<ArticleSource> articles;
    const QDir root(articlesDir);
    const QStringList tomos = root.entryList({QStringLiteral("tomo98*")}, QDir::Dirs, QDir::Name);
    if (tomos.isEmpty()) problems->append(articlesDir + QStringLiteral(": no tomo98* folders"));
    for (const QString& tomo : tomos) {
        const QDir folder(root.filePath(tomo));
        for (const QString& key :
             folder.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name)) {
            const QString where = tomo + QLatin1Char('/') + key + QStringLiteral(": ");
            bool ok = false;
            QString text = readUtf8(folder.filePath(key), &ok);
            if (!ok) {
                problems->append(where + QStringLiteral("cannot be read"));
                continue;
            }
            if (text.endsWith(kCrLf)) text.chop(kCrLf.size());
            if (!keyPattern.match(key).hasMatch())
                problems->append(where +
                                 QStringLiteral("file name is not lower-case [a-z0-9-].htm"));
            for (const QString& problem : checkArticleShape(text))
                problems->append(where + problem);
            articles.append({key, tomo, titleOf(text.split(kCrLf)), text});
        }
    }
    return articles;
}

QVector<MediaRow> readMediaTable(const QString& path, QStringList* problems) {
    static const QStringList header = {"Classe", "Item", "Caption", "Tipo",
                                       "Param",  "File", "Right2",  "Format"};
    bool ok = false;
    const QString text = readUtf8(path, &ok);
    if (!ok) {
        problems->append(path + QStringLiteral(": cannot be read"));
        return {};
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (lines.isEmpty() || lines.first().split(QLatin1Char('\t')) != header) {
        problems->append(path + QStringLiteral(": first line must name the columns ") +
                         header.join(QLatin1Char(' ')));
        return {};
    }
    QVector<MediaRow> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        if (cells.size() != header.size()) {
            problems->append(QStringLiteral("%1:%2: %3 columns, expected %4")
                                 .arg(path)
                                 .arg(i + 1)
                                 .arg(cells.size())
                                 .arg(header.size()));
            continue;
        }
        rows.append(
            {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7]});
    }
    return rows;
}

}  // namespace lumera::sample
