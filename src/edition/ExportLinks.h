#pragma once

#include <QHash>
#include <QQueue>
#include <QSet>
#include <QString>
#include <optional>

#include "edition/PageReferences.h"
#include "edition/ReaderLinks.h"
#include "host/ContentPaths.h"

namespace lumera {

class DriveMap;

// The entries of an exported edition and the way its pages reach them: every
// reference of a stored page leads where a fresh click on it leads in the
// reader (ReaderLinks), to an article's page, a file of the CD or the picture
// page, and goes when it leads nowhere the file can follow. What a page names
// on the CD is queued to be stored in turn.
class ExportLinks {
  public:
    // A file of the CD: its drive path with the names the CD holds, and its entry.
    struct CdFile {
        QString address;
        QString entry;
    };

    ExportLinks(const DriveMap& drives, const ContentPaths& paths,
                ReaderLinks::ArticleKeys isArticle);

    static QString articleEntry(const QString& key);
    static const QString kPictureEntry;      // the page of the picture window
    static const QString kPictureFileEntry;  // its picture
    static const QString kGoBack;

    // The entry a click on address shows, queued when it is a file of the CD;
    // empty when it shows none.
    QString entryOfClick(const QString& address);
    // What the references of a page shown at pageAddress and stored at entry become.
    ReferenceRewrite rewriterFor(const QString& pageAddress, const QString& entry);

    // The next file of the CD named and not yet handed out.
    std::optional<CdFile> nextFile();
    bool pictureNamed() const { return pictureNamed_; }

  private:
    std::optional<QString> link(const QUrl& page, const QString& entry, const QString& value,
                                bool form);
    std::optional<QString> resource(const QUrl& page, const QString& entry, const QString& value);
    // The file an address shows (a query or fragment ignored), as a drive path
    // with the names its drive holds; empty when none.
    QString storedFile(const QString& address) const;
    QString findStoredFile(const QString& path) const;
    // The entry of the CD's file at address, queued; empty when it names none.
    QString cdEntry(const QString& address);

    const DriveMap& drives_;
    QString cdDrive_;
    ReaderLinks links_;
    mutable QHash<QString, QString> stored_;  // by address: pages name the same files often
    QSet<QString> named_;
    QQueue<CdFile> queue_;
    bool pictureNamed_ = false;
};

// The relative URL from the entry from to the entry to, with fragment when given.
QString relativeEntryUrl(const QString& from, const QString& to, const QString& fragment = {});

}  // namespace lumera
