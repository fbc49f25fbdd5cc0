#include "platform/JetKeyLookups.h"

#include "host/WindowSystem.h"
#include "platform/JetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (!lookup) lookup = buildBeside(file, stamp);
    // Kept even when null: a file that cannot have a lookup is not walked
    // twice a request for it.
    cached_ = Cached{file.path(), stamp, lookup};
    return lookup;
}

std::shared_ptr<const JetKeyLookup> JetKeyLookups::readBeside(const JetFile& file,
                                                              const JetFileStamp& stamp) {
    QFile saved(pathFor(file.path()));
    if (!saved.open(QIODevice::ReadOnly)) return nullptr;
    std::optional<JetKeyLookup> lookup = JetKeyLookup::fromBytes(saved.readAll());
    if (!lookup || !(lookup->stamp() == stamp)) return nullptr;
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

bool JetKeyLookups::writeBeside(const JetFile& file, const JetKeyLookup& lookup) {
    // Written whole beside it and renamed into place: a reader in another
    // process sees the old lookup or the new one, never half of one.
    QSaveFile out(pathFor(file.path()));
    const QByteArray bytes = lookup.toBytes();
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

bool JetKeyLookups::prepare(const QString& databaseFile) {
    const JetFile file(databaseFile);
    const JetFileStamp stamp = file.stamp();
    if (readBeside(file, stamp)) return true;
    const JetKeyLookup lookup = JetKeyLookup::build(file, stamp);
    return file.stamp() == stamp && writeBeside(file, lookup);
}

}  // namespace lumera
