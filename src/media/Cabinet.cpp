#include "media/Cabinet.h"

#include <mspack.h>

#include <QFile>

namespace lumera {
namespace {

// Stored names are UTF-8 when flagged so, else in the installer's code page,
// which for this content was Latin-1 in practice.
QString storedName(const mscabd_file* file) {
    return (file->attribs & MSCAB_ATTRIB_UTF_NAME) ? QString::fromUtf8(file->filename)
                                                   : QString::fromLatin1(file->filename);
}

}  // namespace

std::unique_ptr<Cabinet> Cabinet::open(const QString& path) {
    mscab_decompressor* decompressor = mspack_create_cab_decompressor(nullptr);
    if (!decompressor) return nullptr;
    auto opened = std::unique_ptr<Cabinet>(new Cabinet(decompressor, QFile::encodeName(path)));
    opened->cabinet_ = decompressor->open(decompressor, opened->path_.data());
    return opened->cabinet_ ? std::move(opened) : nullptr;
}

Cabinet::Cabinet(mscab_decompressor* decompressor, const QByteArray& path)
    : decompressor_(decompressor), path_(path) {}

Cabinet::~Cabinet() {
    if (cabinet_) decompressor_->close(decompressor_, cabinet_);
    mspack_destroy_cab_decompressor(decompressor_);
}

QStringList Cabinet::names() const {
    QStringList names;
    for (const mscabd_file* file = cabinet_->files; file; file = file->next) {
        names.append(storedName(file));
    }
    return names;
}

mscabd_file* Cabinet::stored(const QString& name) const {
    for (mscabd_file* file = cabinet_->files; file; file = file->next) {
        if (storedName(file) == name) return file;
    }
    return nullptr;
}

qint64 Cabinet::sizeOf(const QString& name) const {
    const mscabd_file* file = stored(name);
    return file ? qint64(file->length) : -1;
}

Cabinet::Extraction Cabinet::extract(const QString& name, const QString& target) const {
    mscabd_file* file = stored(name);
    if (!file) return Extraction::Missing;
    const int error = decompressor_->extract(decompressor_, file, QFile::encodeName(target).data());
    if (error == MSPACK_ERR_OK) return Extraction::Done;
    QFile::remove(target);
    return error == MSPACK_ERR_OPEN || error == MSPACK_ERR_WRITE ? Extraction::CannotWrite
                                                                 : Extraction::Damaged;
}

}  // namespace lumera
