// The Jet reader on changed copies of the fixture databases: whatever the
// bytes, opening and reading gives the rows or a DatabaseError, never a
// crash or a hang, through the file's own indexes too. Read through a key
// lookup made of the same bytes it gives the rows of the walk; through a
// damaged lookup too (changed, cut or longer), which is not believed; and
// bytes changed under a lookup that still looks current (same size and
// modification time) give rows or a DatabaseError. An index belongs to the
// file: a changed one may name other rows than the walk finds, so only its
// safety is checked. The input is padded with zeros to whole pages, since a
// file of partial pages is refused before libmdb sees it (a case the
// database tests cover).

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "FuzzCheck.h"
#include "database/ArticleDatabaseFiles.h"
#include "database/JetDatabase.h"
#include "database/JetKeyLookups.h"
#include "support/FileBytes.h"

using namespace lumera;

namespace {

constexpr qsizetype kPageSize = 4096;

using Opener = std::function<std::unique_ptr<ArticleDatabaseFile>()>;

QStringList readEverything(const Opener& open) {
    const std::unique_ptr<ArticleDatabaseFile> database = open();
    QStringList seen;
    const auto query = [&](const QString& key, const QString& title) {
        const auto article = database->articleQuery(key);
        if (!article->atEnd()) seen << article->field(articletables::kText);
        const auto media = database->mediaQuery(title);
        for (int rows = 0; !media->atEnd() && rows < 64; ++rows, media->moveNext()) {
            for (const QString& column : articletables::kMediaColumns) seen << media->field(column);
        }
    };
    // Queried before the walk, so that a file the walk refuses is queried too.
    query(u"brasil.htm"_qs, u"Brasil"_qs);
    QStringList keys;
    database->forEachArticle([&](const ArticleRow& row) {
        keys << row.arquivo << row.titulo;
        return keys.size() < 128;
    });
    for (qsizetype i = 0; i + 1 < keys.size() && i < 8; i += 2) query(keys[i], keys[i + 1]);
    database->close();
    return seen;
}

// The rows read, or nothing after a DatabaseError.
std::optional<QStringList> attempt(const Opener& open) {
    try {
        return readEverything(open);
    } catch (const DatabaseError& error) {
        fuzz::check(!error.message().isEmpty(), "DatabaseError without a message");
        return std::nullopt;
    }
}

void checkSameRows(const std::optional<QStringList>& walked, const std::optional<QStringList>& read,
                   const char* what) {
    fuzz::check(!walked || !read || *walked == *read, what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(u"lex.mdb"_qs);
    static const QString lookupPath = JetKeyLookups::pathFor(path);
    QByteArray bytes = fuzz::bytesOf(data, size);
    if (bytes.size() % kPageSize != 0) bytes.append(kPageSize - bytes.size() % kPageSize, '\0');
    QFile::remove(lookupPath);
    fuzz::check(testing::writeBytes(path, bytes), "cannot write the copy");
    // Through the lookups alone, or through the file's indexes first.
    const auto throughLookups = [](JetKeyLookups& lookups) -> Opener {
        return [&lookups] { return std::make_unique<JetDatabase>(path, &lookups, false); };
    };
    const std::optional<QStringList> walked =
        attempt([] { return ArticleDatabaseFiles::openFile(path); });
    {
        JetKeyLookups building(JetKeyLookups::Missing::Build);
        checkSameRows(walked, attempt(throughLookups(building)),
                      "the lookup gives other rows than the walk");
        attempt([&building] { return ArticleDatabaseFiles::openFile(path, &building); });
    }
    const QByteArray lookup = testing::readBytes(lookupPath);
    if (lookup.isEmpty()) return 0;

    // One byte of the lookup changed, the lookup cut, or made longer than
    // its header says, where and by as much as the input says.
    const std::size_t where = qHash(bytes, 0);
    QByteArray damaged = lookup;
    const auto at = static_cast<qsizetype>(where % static_cast<std::size_t>(lookup.size()));
    switch (where % 3) {
        case 0:
            damaged.truncate(at);
            break;
        case 1:
            damaged[at] = static_cast<char>(damaged[at] ^ (1 + (where >> 8) % 255));
            break;
        default:
            damaged.append(QByteArray(at + 1, static_cast<char>(where >> 8)));
    }
    fuzz::check(testing::writeBytes(lookupPath, damaged), "cannot write the lookup");
    JetKeyLookups damagedBeside;
    checkSameRows(walked, attempt(throughLookups(damagedBeside)), "a damaged lookup was believed");

    // The bytes of one page changed in place, its size and time kept.
    fuzz::check(testing::writeBytes(lookupPath, lookup), "cannot write the lookup");
    struct stat made {};
    fuzz::check(stat(QFile::encodeName(path).constData(), &made) == 0, "cannot stat the copy");
    const qsizetype page = static_cast<qsizetype>((where >> 16) % (bytes.size() / kPageSize));
    for (qsizetype i = page * kPageSize; i < (page + 1) * kPageSize; ++i) bytes[i] = ~bytes[i];
    fuzz::check(testing::writeBytes(path, bytes), "cannot write the copy");
    const timespec times[2] = {made.st_atim, made.st_mtim};
    fuzz::check(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0,
                "cannot set the copy's time");
    JetKeyLookups staleBeside;
    attempt([&staleBeside] { return ArticleDatabaseFiles::openFile(path, &staleBeside); });
    return 0;
}
