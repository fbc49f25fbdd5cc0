#include "database/JetKeyLookups.h"

#include "database/ArticleTables.h"
#include "database/JetFile.h"
#include "host/WindowSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>

namespace lumera {

namespace {

// The busy pointer for as long as a lookup is being made, whatever ends it.
class BusyPointer {
  public:
    explicit BusyPointer(WindowSystem* windows) : windows_(windows) {
        if (windows_) windows_->SetBusyPointer(true);
    }
    ~BusyPointer() {
        if (windows_) windows_->SetBusyPointer(false);
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    WindowSystem* windows_;
};

// The bytes of a lookup file, when it is a regular file reached without a
// link (opened without waiting on a FIFO) and its header, which believe
// accepts, declares its whole size: no more of it is read than that.
std::optional<QByteArray> readLookupFile(
    const QString& path, const std::function<bool(const JetKeyLookup::Header&)>& believe) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    QByteArray bytes = file.read(JetKeyLookup::kHeaderSize);
    const auto header = JetKeyLookup::header(bytes);
    if (!header || !believe(*header) || header->fileSize() != info.st_size) return std::nullopt;
    bytes += file.read(info.st_size - bytes.size());
    if (bytes.size() != info.st_size) return std::nullopt;
    return bytes;
}

// A lookup lists every row of both tables once: one that lists fewer would
// leave rows unfound. A row's location is its page and a row number of a
// byte, so no table holds more than that.
bool listsEveryRow(const JetFile& file, const JetKeyLookup::Header& header) {
    const qint64 mostRows = file.pageCount() << 8;
    return header.articles <= mostRows && header.media <= mostRows &&
           header.articles == file.rowCount(articletables::kArticles) &&
           header.media == file.rowCount(articletables::kMedia);
}

}  // namespace

JetKeyLookups::JetKeyLookups(Missing missing, WindowSystem* windows)
    : missing_(missing), windows_(windows) {}

QString JetKeyLookups::pathFor(const QString& databaseFile) {
    const QFileInfo info(databaseFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".chaves"));
}

std::shared_ptr<const JetKeyLookup> JetKeyLookups::lookupFor(const JetFile& file) {
    const JetFileStamp stamp = file.stamp();
    if (cached_ && cached_->path == file.path() && cached_->stamp == stamp) return cached_->lookup;
    std::shared_ptr<const JetKeyLookup> lookup = readBeside(file, stamp);
    if (!lookup && missing_ == Missing::Walk) return nullptr;
    const bool made = !lookup;
    if (made) lookup = buildBeside(file, stamp);
    // Kept even when null: a file that cannot have a lookup is not walked
    // twice a request for it.
    cached_ = Cached{file.path(), stamp, lookup, made};
    return lookup;
}

void JetKeyLookups::stale(const JetFile& file) {
    QFile::remove(pathFor(file.path()));
    // One made here of this very file cannot be stale; should it seem so,
    // making another would only walk the tables again for every request.
    const bool makeAgain = missing_ == Missing::Build && !(cached_ && cached_->madeHere);
    if (makeAgain) {
        cached_.reset();
    } else {
        cached_ = Cached{file.path(), file.stamp(), nullptr, true};
    }
}

std::shared_ptr<const JetKeyLookup> JetKeyLookups::readBeside(const JetFile& file,
                                                              const JetFileStamp& stamp) {
    std::optional<QByteArray> bytes;
    try {
        bytes = readLookupFile(pathFor(file.path()), [&](const JetKeyLookup::Header& header) {
            return header.stamp == stamp && listsEveryRow(file, header);
        });
    } catch (const DatabaseError&) {
        return nullptr;
    }
    std::optional<JetKeyLookup> lookup = bytes ? JetKeyLookup::fromBytes(*bytes) : std::nullopt;
    if (!lookup) return nullptr;
    return std::make_shared<const JetKeyLookup>(std::move(*lookup));
}

std::shared_ptr<const JetKeyLookup> JetKeyLookups::buildBeside(const JetFile& file,
                                                               const JetFileStamp& stamp) {
    const BusyPointer busy(windows_);
    std::shared_ptr<const JetKeyLookup> lookup;
    try {
        lookup = std::make_shared<const JetKeyLookup>(JetKeyLookup::build(file, stamp));
    } catch (const DatabaseError&) {
        return nullptr;
    }
    // Changed while it was walked: its rows may be of either version.
    if (!(file.stamp() == stamp)) return nullptr;
    // A folder that cannot be written keeps the lookup for this process only.
    writeBeside(file, *lookup);
    return lookup;
}

// Written whole beside it, on the disk, and renamed into place: a reader in
// another process sees the old lookup or the new one, never half of one, and
// whatever lies at lex.chaves, a link too, is replaced, never written
// through (QSaveFile would write a link's target).
bool JetKeyLookups::writeBeside(const JetFile& file, const JetKeyLookup& lookup) {
    const QString path = pathFor(file.path());
    const QByteArray bytes = lookup.toBytes();
    QTemporaryFile out(path + QStringLiteral(".XXXXXX"));
    if (!out.open() || out.write(bytes) != bytes.size() || !out.flush() ||
        fdatasync(out.handle()) != 0) {
        return false;
    }
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0) {
        return false;
    }
    // Renamed away: nothing is left for the temporary file to remove.
    out.setAutoRemove(false);
    return true;
}

bool JetKeyLookups::prepare(const QString& databaseFile) {
    const JetFile file(databaseFile);
    const JetFileStamp stamp = file.stamp();
    if (readBeside(file, stamp)) return true;
    const JetKeyLookup lookup = JetKeyLookup::build(file, stamp);
    return file.stamp() == stamp && writeBeside(file, lookup);
}

}  // namespace lumera
