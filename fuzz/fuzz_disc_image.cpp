// Disc images of any bytes: opening one, finding names in it (cases, 8.3
// forms, "..", names with NUL or separators), listing it and reading its
// files ends with the bytes or with nothing, never a crash or a hang, even
// for directories that lead back to their parents or extents past the end.

#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "media/DiscImage.h"
#include "support/FileBytes.h"

using namespace lumera;

namespace {

constexpr int kMaxDepth = 8;
constexpr int kMaxEntries = 64;
constexpr qint64 kMaxRead = 64 * 1024;

void walk(const DiscImage& image, const QStringList& directory, int depth) {
    const auto entries = image.list(directory);
    if (!entries || depth > kMaxDepth) return;
    for (const DiscImage::Entry& entry : entries->mid(0, kMaxEntries)) {
        if (entry.directory) {
            walk(image, directory + QStringList{entry.name}, depth + 1);
            continue;
        }
        // A file cut off by the image's end is listed (to say so) but never opened.
        const auto file = image.openFile(entry);
        fuzz::check((file != nullptr) == image.holds(entry),
                    "a listed file within the image cannot be opened, or one past it can");
        if (!file) continue;
        char piece[4096];
        for (qint64 total = 0; total < kMaxRead;) {
            const qint64 n = file->read(piece, sizeof piece);
            if (n <= 0) break;
            fuzz::check(total + n <= entry.size, "read past the file's size");
            total += n;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(u"cd.iso"_qs);
    fuzz::check(testing::writeBytes(path, fuzz::bytesOf(data, size)), "cannot write the image");
    const auto image = DiscImage::open(path);
    if (!image) return 0;
    walk(*image, {}, 0);
    const QStringList paths[] = {{u"lex2000"_qs, u"joia.htm"_qs},
                                 {u"LEX2000"_qs, u"JOIA~1.HTM"_qs},
                                 {u".."_qs, u"lex2000"_qs},
                                 {u"lex2000"_qs, QString(QChar(u'\0'))},
                                 {u"a/b"_qs},
                                 {u"lex2000"_qs, u"tomo98a"_qs, u"brasil.htm"_qs}};
    for (const QStringList& components : paths) {
        if (const auto entry = image->find(components); entry && !entry->directory) {
            if (const auto file = image->openFile(*entry)) file->read(kMaxRead);
        }
    }
    return 0;
}
