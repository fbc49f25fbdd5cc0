#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The source files of the sample edition: one HTML file per article under
// articles/<tomo>/, and the media table articles/fotos.tsv.
namespace lumera::sample {

struct ArticleSource {
    QString key;    // file name, the DatabaseV.Arquivo value ("brasil.htm")
    QString tomo;   // folder name ("tomo98a")
    QString title;  // text of the <title> line, apostrophes kept
    QString text;   // whole document, CR LF line breaks, without a final break
};

// Problems that would make the page assembly read the article wrongly: a
// title line holding anything besides the title tags, an anchor line not of
// the form <a name="x"></a></p>, no line opening the body with <b>, a body
// line with "title" or "name=" (it would replace title or anchor and throw
// the body gathered so far away), a body line ending in a bare word (lines
// are joined with nothing between them), template placeholders in the body,
// a last line other than </BODY></HTML>, line breaks other than CR LF.
QStringList checkArticleShape(const QString& text);

// The article title as the page shows it and as Fotos.Item stores it.
QString titleWithoutApostrophes(const QString& title);

// Reads every articles/<tomo>/<key>.htm (UTF-8), sorted by tomo and key.
// Problems are reported as "<tomo>/<key>: <problem>".
QVector<ArticleSource> readArticles(const QString& articlesDir, QStringList* problems);

struct MediaRow {
    QString classe, item, caption, tipo, param, file, right2, format;
};

// The eight Fotos columns, tab-separated with a header line, UTF-8.
QVector<MediaRow> readMediaTable(const QString& path, QStringList* problems);

}  // namespace lumera::sample
