#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <functional>

#include "host/FileAccess.h"

namespace lumera {

// Where a click on a link leads in the reader.
struct LinkOutcome {
    enum class Kind {
        Article,  // the page built for the key in value
        Shown,    // the browser goes on to the address in value: a file or a missing one
        Picture,  // the picture window
        Back,     // one page back
        Nowhere,  // cancelled with nothing shown
    };
    Kind kind = Kind::Nowhere;
    QString value;
};

// Follows a click as the reader would on a fresh click: through its own
// router, every guard clear, the router's own navigations followed until one
// goes through or is taken over. An article is known by its key instead of
// being built.
class ReaderLinks {
  public:
    using ArticleKeys = std::function<bool(const QString& key)>;
    ReaderLinks(const FileAccess& files, const QString& cdRomPath, ArticleKeys isArticle);

    LinkOutcome follow(const QString& address) const;

    // The URL the browser shows an address at (a drive path, or a path of
    // this machine relative to the current folder).
    static QUrl urlOf(const QString& address);
    // The address the router is given for a reference of a page shown at
    // pageUrl: resolved as the browser resolves it, a drive path written with
    // backslashes, a file of this machine as its path.
    static QString addressOf(const QUrl& pageUrl, const QString& reference);

  private:
    // What the router asks of the files, each answer kept: every link that
    // names no article asks for its file, and pages name the same few again
    // and again (each question costs a walk of the folders).
    class KnownFiles : public FileAccess {
      public:
        explicit KnownFiles(const FileAccess& files) : files_(files) {}
        QString existingFile(const QString& path) const override {
            return files_.existingFile(path);
        }
        bool isFile(const QString& path) const override;
        QString writableFile(const QString& path) const override {
            return files_.writableFile(path);
        }

      private:
        const FileAccess& files_;
        mutable QHash<QString, bool> known_;
    };

    KnownFiles files_;
    QString cdRomPath_;
    ArticleKeys isArticle_;
};

}  // namespace lumera
