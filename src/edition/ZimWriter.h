#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>

namespace zim::writer {
class Creator;
}

namespace lumera {

// What libzim or the file system refused while writing, for the user.
struct ZimWriteError {
    QString message;
};

// A ZIM file written with libzim under a temporary name beside its target and
// renamed onto it once complete: the target is never a partial file, and a
// writer destroyed before finish() leaves nothing behind. Every call throws
// ZimWriteError.
class ZimWriter {
  public:
    using Opener = std::function<std::unique_ptr<QIODevice>()>;

    // language: ISO 639-3, of the full-text index; workers: libzim's threads.
    ZimWriter(const QString& target, const QString& language, unsigned workers);
    ~ZimWriter();
    ZimWriter(const ZimWriter&) = delete;
    ZimWriter& operator=(const ZimWriter&) = delete;

    // A page for readers, listed by title; text is all the full-text index
    // gets of it.
    void addPage(const QString& path, const QString& title, const QByteArray& html,
                 const QString& text);
    // A file of size bytes, opened and read only when libzim writes it.
    void addFile(const QString& path, const QString& mimeType, qint64 size, Opener open);
    void addBytes(const QString& path, const QString& mimeType, const QByteArray& bytes);
    void addMetadata(const QString& name, const QString& value);
    void addIllustration(int size, const QByteArray& png);
    void setMainPath(const QString& path);
    // Completes the file; nothing can be added after.
    void finish();
    // Puts the completed file in the target's place; until then the target is
    // untouched, and a writer destroyed removes the file.
    void install();

    QString temporaryFile() const { return partial_; }

  private:
    template <typename Call>
    void guarded(const Call& call);

    QString target_;
    QString partial_;
    std::unique_ptr<zim::writer::Creator> creator_;
    bool installed_ = false;
};

}  // namespace lumera
