#include "edition/ZimWriter.h"

#include <zim/writer/contentProvider.h>
#include <zim/writer/creator.h>
#include <zim/writer/item.h>

#include <QCoreApplication>
#include <QFile>
#include <exception>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <system_error>

namespace lumera {
namespace {

std::string utf8(const QString& text) { return text.toStdString(); }

// What the full-text index reads of a page, instead of libzim parsing the
// HTML a second time.
class PageIndexData : public zim::writer::IndexData {
  public:
    PageIndexData(std::string title, std::string text, std::uint32_t words)
        : title_(std::move(title)), text_(std::move(text)), words_(words) {}
    bool hasIndexData() const override { return !text_.empty(); }
    std::string getTitle() const override { return title_; }
    std::string getContent() const override { return text_; }
    std::string getKeywords() const override { return {}; }
    std::uint32_t getWordCount() const override { return words_; }
    GeoPosition getGeoPosition() const override { return {false, 0, 0}; }

  private:
    std::string title_;
    std::string text_;
    std::uint32_t words_;
};

class PageItem : public zim::writer::Item {
  public:
    PageItem(const QString& path, const QString& title, const QByteArray& html, const QString& text)
        : path_(utf8(path)),
          title_(utf8(title)),
          html_(std::make_shared<const std::string>(html.toStdString())),
          text_(utf8(text)),
          words_(std::uint32_t(text.split(u' ', Qt::SkipEmptyParts).size())) {}
    std::string getPath() const override { return path_; }
    std::string getTitle() const override { return title_; }
    std::string getMimeType() const override { return "text/html"; }
    std::unique_ptr<zim::writer::ContentProvider> getContentProvider() const override {
        return std::make_unique<zim::writer::SharedStringProvider>(html_);
    }
    std::shared_ptr<zim::writer::IndexData> getIndexData() const override {
        return std::make_shared<PageIndexData>(title_, text_, words_);
    }
    zim::writer::Hints getHints() const override { return {{zim::writer::FRONT_ARTICLE, 1}}; }

  private:
    std::string path_;
    std::string title_;
    std::shared_ptr<const std::string> html_;
    std::string text_;
    std::uint32_t words_;
};

// Reads a file in pieces when libzim writes its cluster, so that no file is
// held whole and none stays open while it waits.
class DeviceProvider : public zim::writer::ContentProvider {
  public:
    DeviceProvider(qint64 size, ZimWriter::Opener open) : size_(size), open_(std::move(open)) {}
    zim::size_type getSize() const override { return zim::size_type(size_); }
    zim::Blob feed() override {
        if (!device_ && done_ < size_) device_ = open_();
        const qint64 wanted = std::min<qint64>(kPiece, size_ - done_);
        piece_ = device_ && wanted > 0 ? device_->read(wanted) : QByteArray();
        // libzim requires the size announced: a file that shrank meanwhile
        // cannot be written right.
        if (piece_.size() != wanted) throw std::runtime_error("file changed while written");
        done_ += piece_.size();
        if (done_ >= size_) device_.reset();
        return zim::Blob(piece_.constData(), zim::size_type(piece_.size()));
    }

  private:
    static constexpr qint64 kPiece = 1 << 20;
    qint64 size_;
    ZimWriter::Opener open_;
    std::unique_ptr<QIODevice> device_;
    QByteArray piece_;
    qint64 done_ = 0;
};

class FileItem : public zim::writer::BasicItem {
  public:
    FileItem(const QString& entry, const QString& type, qint64 size, ZimWriter::Opener open)
        : BasicItem(utf8(entry), utf8(type), std::string(), {}),
          size_(size),
          open_(std::move(open)) {}
    std::unique_ptr<zim::writer::ContentProvider> getContentProvider() const override {
        return std::make_unique<DeviceProvider>(size_, open_);
    }

  private:
    qint64 size_;
    ZimWriter::Opener open_;
};

}  // namespace

template <typename Call>
void ZimWriter::guarded(const Call& call) {
    try {
        call();
    } catch (const std::exception& error) {
        throw ZimWriteError{QString::fromUtf8(error.what())};
    }
}

ZimWriter::ZimWriter(const QString& target, const QString& language, unsigned workers)
    : target_(target),
      partial_(QStringLiteral("%1.%2.part").arg(target).arg(QCoreApplication::applicationPid())),
      creator_(std::make_unique<zim::writer::Creator>()) {
    guarded([&] {
        creator_->configIndexing(true, utf8(language)).configNbWorkers(std::max(1u, workers));
        creator_->startZimCreation(QFile::encodeName(partial_).toStdString());
    });
}

// Destroyed unfinished, libzim removes its own temporary files.
ZimWriter::~ZimWriter() {
    creator_.reset();
    if (!installed_) QFile::remove(partial_);
}

void ZimWriter::addPage(const QString& path, const QString& title, const QByteArray& html,
                        const QString& text) {
    guarded([&] { creator_->addItem(std::make_shared<PageItem>(path, title, html, text)); });
}

void ZimWriter::addFile(const QString& path, const QString& mimeType, qint64 size, Opener open) {
    guarded([&] {
        creator_->addItem(std::make_shared<FileItem>(path, mimeType, size, std::move(open)));
    });
}

void ZimWriter::addBytes(const QString& path, const QString& mimeType, const QByteArray& bytes) {
    guarded([&] {
        creator_->addItem(zim::writer::StringItem::create(
            utf8(path), utf8(mimeType), std::string(), zim::writer::Hints(), bytes.toStdString()));
    });
}

void ZimWriter::addMetadata(const QString& name, const QString& value) {
    guarded([&] { creator_->addMetadata(utf8(name), utf8(value)); });
}

void ZimWriter::addIllustration(int size, const QByteArray& png) {
    guarded([&] { creator_->addIllustration(unsigned(size), png.toStdString()); });
}

void ZimWriter::setMainPath(const QString& path) { creator_->setMainPath(utf8(path)); }

void ZimWriter::finish() {
    // libzim tells its steps on standard output, which carries the program's own lines.
    std::ostringstream steps;
    const std::unique_ptr<std::streambuf, void (*)(std::streambuf*)> restore(
        std::cout.rdbuf(steps.rdbuf()), [](std::streambuf* output) { std::cout.rdbuf(output); });
    guarded([&] { creator_->finishZimCreation(); });
    creator_.reset();
}

void ZimWriter::install() {
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(partial_).toStdString(),
                            QFile::encodeName(target_).toStdString(), failed);
    if (failed) throw ZimWriteError{QString::fromStdString(failed.message())};
    installed_ = true;
}

}  // namespace lumera
