// The Jet reader on changed copies of the fixture databases: whatever the
// bytes, opening and reading gives the rows or a DatabaseError, never a
// crash or a hang. The input is padded with zeros to whole pages, since a
// file of partial pages is refused before libmdb sees it (a case the
// database tests cover).

#include <QFile>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "platform/ArticleDatabaseFiles.h"
#include "support/FileBytes.h"

using namespace lumera;

namespace {

constexpr qsizetype kPageSize = 4096;

void readEverything(const QString& path) {
    const std::unique_ptr<ArticleDatabaseFile> database = ArticleDatabaseFiles::openFile(path);
    QStringList titles;
    database->forEachArticle([&](const ArticleRow& row) {
        titles.append(row.titulo);
        return titles.size() < 64;
    });
    for (const QString& title : titles.mid(0, 4)) {
        const auto media = database->mediaQuery(title);
        for (int rows = 0; !media->atEnd() && rows < 64; ++rows, media->moveNext()) {
            for (const QString& column : articletables::kMediaColumns) media->field(column);
        }
    }
    const auto article = database->articleQuery(titles.value(0));
    if (!article->atEnd()) article->field(articletables::kText);
    database->close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(u"lex.mdb"_qs);
    QByteArray bytes = fuzz::bytesOf(data, size);
    if (bytes.size() % kPageSize != 0) bytes.append(kPageSize - bytes.size() % kPageSize, '\0');
    fuzz::check(testing::writeBytes(path, bytes), "cannot write the copy");
    try {
        readEverything(path);
    } catch (const DatabaseError& error) {
        fuzz::check(!error.message().isEmpty(), "DatabaseError without a message");
    }
    return 0;
}
