#include "SampleChecks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

#include "host/Windows1252.h"

namespace lumera::sample {
namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The CD's file system ignored letter case, and so does the reader's lookup.
QString findIgnoringCase(const QString& root, const QString& relative) {
    QString current = root;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            current = QFileInfo(current).path();
            continue;
        }
        QString found;
        for (const QString& entry :
             QDir(current).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            if (entry.compare(part, Qt::CaseInsensitive) == 0) found = entry;
        if (found.isEmpty()) return {};
        current = QDir(current).filePath(found);
    }
    return current;
}

QStringList textFilesOf(const QString& cdRoot) {
    QStringList files;
    QDirIterator it(cdRoot,
                    {QStringLiteral("*.htm"), QStringLiteral("*.html"), QStringLiteral("*.css")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(it.next());
    files.sort();
    return files;
}

void checkArticles(const QVector<ArticleSource>& articles, const QString& lex2000,
                   QStringList* problems) {
    bool longBody = false;
    bool apostrophe = false;
    bool inlinePicture = false;
    QSet<QString> keys;
    for (const ArticleSource& a : articles) keys.insert(a.key);
    static const QRegularExpression link(QStringLiteral("href=\"\\.\\./tomo98[abc]/([^\"]+)\""));
    for (const ArticleSource& a : articles) {
        const QStringList lines = a.text.split(QStringLiteral("\r\n"));
        qsizetype start = 0;
        while (start < lines.size() && !lines[start].contains(QStringLiteral("<b>"))) ++start;
        QString body = lines.mid(start + 1).join(QString());
        body.remove(QStringLiteral("</BODY></HTML>"));
        longBody |= body.size() > 1500;
        apostrophe |= a.title.contains(u'\'');
        inlinePicture |= a.text.contains(QStringLiteral("IMG SRC=\"Image")) &&
                         a.text.contains(QStringLiteral(".gif"));
        const QString anchor = a.text.section(QStringLiteral("<a name=\""), 1).section(u'"', 0, 0);
        if (a.key.chopped(4) != anchor)
            problems->append(a.key + QStringLiteral(": the anchor is ") + anchor);
        for (const auto& match : link.globalMatch(a.text))
            if (!keys.contains(match.captured(1)))
                problems->append(a.key + QStringLiteral(": links to no article: ") +
                                 match.captured(1));
    }
    if (!longBody)
        problems->append(
            QStringLiteral("no article shows the top link (a body over 1,500 characters)"));
    if (!apostrophe) problems->append(QStringLiteral("no article title with an apostrophe"));
    if (!inlinePicture)
        problems->append(QStringLiteral("no article with a picture the page assembly rewrites"));
    if (findIgnoringCase(lex2000, QStringLiteral("tomo98a/image/sete-cidades.gif")).isEmpty())
        problems->append(
            QStringLiteral("the inline picture tomo98a/image/sete-cidades.gif is missing"));
}

void checkMedia(const QVector<ArticleSource>& articles, const QVector<MediaRow>& media,
                const QString& cdRoot, QStringList* problems) {
    static const QSet<QString> kinds = {"afoto", "amod",   "aband", "agrafico",
                                        "amap",  "afilme", "asom"};
    QSet<QString> titles;
    QSet<QString> keys;
    for (const ArticleSource& a : articles) {
        titles.insert(titleWithoutApostrophes(a.title));
        keys.insert(a.key.toLower());
    }
    QSet<QString> kindsSeen;
    QSet<QString> formatsSeen;
    bool gifThumbnail = false;
    bool framedThumbnail = false;
    const QString lex2000 = cdRoot + QStringLiteral("/lex2000");
    for (const MediaRow& row : media) {
        const QString where = QStringLiteral("fotos.tsv: ") + row.item + QStringLiteral(": ") +
                              row.caption + QStringLiteral(": ");
        if (!kinds.contains(row.tipo))
            problems->append(where + QStringLiteral("unknown kind ") + row.tipo);
        if (!titles.contains(row.item))
            problems->append(where + QStringLiteral("no article has this title"));
        if (row.format != u"V" && row.format != u"H")
            problems->append(where + QStringLiteral("format is not V or H"));
        kindsSeen.insert(row.tipo);
        formatsSeen.insert(row.format);
        gifThumbnail |= row.file.contains(QStringLiteral("gif"));
        framedThumbnail |= !row.file.contains(QStringLiteral("gif"));
        const QSize size = QImageReader(lex2000 + QStringLiteral("/image/tumb/") + row.file).size();
        if (size != (row.format == u"V" ? QSize(76, 101) : QSize(76, 54)))
            problems->append(where + QStringLiteral("thumbnail missing or of the wrong size"));
        // The reader links Param upper-cased with .JPG turned into .htm.
        const QString link =
            row.param.toUpper().replace(QStringLiteral(".JPG"), QStringLiteral(".htm"));
        if (!row.param.startsWith(QStringLiteral("/lex2000/")) ||
            findIgnoringCase(cdRoot, link).isEmpty())
            problems->append(where + QStringLiteral("no page on the CD for ") + link);
        if (row.param.endsWith(QStringLiteral(".jpg")) &&
            findIgnoringCase(cdRoot, row.param).isEmpty())
            problems->append(where + QStringLiteral("no picture on the CD for ") + row.param);
        // A page name equal to an article key would be built as that article.
        if (keys.contains(QFileInfo(link).fileName().toLower()))
            problems->append(where + link + QStringLiteral(" has an article's name"));
    }
    if (kindsSeen != kinds) problems->append(QStringLiteral("fotos.tsv does not use every kind"));
    if (formatsSeen != QSet<QString>{"V", "H"})
        problems->append(QStringLiteral("fotos.tsv does not use both formats"));
    if (!gifThumbnail || !framedThumbnail)
        problems->append(QStringLiteral("fotos.tsv lacks a gif or a framed thumbnail"));
    for (const char* icon :
         {"foto", "audvis", "bandeira", "grafico", "mapa", "video", "audio", "website"}) {
        if (QImageReader(lex2000 + QStringLiteral("/image/ico/%1.gif").arg(QLatin1String(icon)))
                .size() != QSize(32, 32))
            problems->append(
                QStringLiteral("icon %1.gif missing or not 32 by 32").arg(QLatin1String(icon)));
    }
    if (QImageReader(lex2000 + QStringLiteral("/gui/1px.gif")).format() != "gif")
        problems->append(QStringLiteral("gui/1px.gif is missing"));
}

void checkTemplate(const QString& path, QStringList* problems) {
    const QString text = windows1252::decode(readBytes(path));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (const char* word : {"Header", "Titulov", "Nome", "Texto", "Topo1", "Topo2"})
        if (text.count(QLatin1String(word)) != 1)
            problems->append(
                QStringLiteral("modelo-final.htm: %1 is not there once").arg(QLatin1String(word)));
    const QString seeAlso = QStringLiteral("VejaTambém");
    if (!lines.contains(seeAlso) || !lines.contains(QStringLiteral("FotosI")))
        problems->append(
            QStringLiteral("modelo-final.htm: VejaTambém and FotosI need lines of their own"));
    if (!text.contains(QStringLiteral("<a name=\"topo\">")))
        problems->append(QStringLiteral("modelo-final.htm: no anchor topo"));
    if (text.indexOf(seeAlso) > text.indexOf(QStringLiteral("Topo2")))
        problems->append(QStringLiteral("modelo-final.htm: Topo2 before VejaTambém"));
    // Every "d:" is replaced by the CD drive: it may only begin a CD path.
    static const QRegularExpression drive(QStringLiteral("d:(?!/lex2000/)"));
    if (drive.match(text).hasMatch() || text.count(QStringLiteral("d:/lex2000/")) < 2)
        problems->append(
            QStringLiteral("modelo-final.htm: \"d:\" must begin CD paths, at least two"));
}

void checkTextFile(const QString& path, QStringList* problems) {
    const QByteArray bytes = readBytes(path);
    if (bytes.isEmpty() || !bytes.endsWith("\r\n") || bytes.count('\n') != bytes.count("\r\n"))
        problems->append(path + QStringLiteral(": not lines ending in CR LF"));
    for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
        if (bytes.contains(undefined))
            problems->append(path + QStringLiteral(": a byte Windows-1252 does not define"));
    // Accents written as UTF-8 would show as two characters each.
    if (bytes.contains("\xc3"))
        problems->append(path + QStringLiteral(": UTF-8 text in a Windows-1252 file"));
}

void checkCdLinks(const QVector<ArticleSource>& articles, const QString& cdRoot,
                  QStringList* problems) {
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    QSet<QString> keys;
    for (const ArticleSource& a : articles) keys.insert(a.key);
    for (const QString& page : textFilesOf(cdRoot)) {
        for (const auto& match : reference.globalMatch(windows1252::decode(readBytes(page)))) {
            const QString target = match.captured(1);
            // Addresses the router takes over rather than the browser.
            if (target.contains(QStringLiteral("VOLTA")) || target.contains(QStringLiteral(".tv")))
                continue;
            const bool article = target.contains(QStringLiteral("tomo98")) &&
                                 !target.contains(QStringLiteral("/image/"));
            if (article ? !keys.contains(QFileInfo(target).fileName())
                        : findIgnoringCase(QFileInfo(page).path(), target).isEmpty())
                problems->append(page + QStringLiteral(": dead link ") + target);
        }
    }
    const QString home =
        windows1252::decode(readBytes(cdRoot + QStringLiteral("/lex2000/joia.htm")));
    for (const char* part : {"<form action=\"dtsearch.asp\" method=\"get\">", "name=\"request\"",
                             "<iframe src=\"menu-joia.htm\""})
        if (!home.contains(QLatin1String(part)))
            problems->append(QStringLiteral("joia.htm: lacks ") + QLatin1String(part));
}

}  // namespace

QStringList checkEdition(const QString& sampleDir, const QVector<ArticleSource>& articles,
                         const QVector<MediaRow>& media) {
    QStringList problems;
    const QString cdRoot = sampleDir + QStringLiteral("/cd");
    checkArticles(articles, cdRoot + QStringLiteral("/lex2000"), &problems);
    checkMedia(articles, media, cdRoot, &problems);
    checkTemplate(sampleDir + QStringLiteral("/modelo-final.htm"), &problems);
    for (const QString& file : QStringList{sampleDir + QStringLiteral("/lex.ini"),
                                           sampleDir + QStringLiteral("/modelo-final.htm")} +
                                   textFilesOf(cdRoot))
        checkTextFile(file, &problems);
    checkCdLinks(articles, cdRoot, &problems);
    return problems;
}

}  // namespace lumera::sample
