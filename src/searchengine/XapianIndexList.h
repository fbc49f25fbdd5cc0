#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "searchengine/XapianDocumentFormat.h"

namespace lumera {

// Turns a path as the program builds it ("C:\lex\search.lst") into a file of
// this machine; empty when there is none.
using ProgramPathResolver = std::function<QString(const QString& programPath)>;

// The index list file ("search.lst"): one index folder per line, relative to
// the folder of the list itself. Blank lines are skipped; a line may use
// backslashes; a drive path ("D:\indice") goes through the resolver.
struct IndexListReading {
    QStringList folders;  // local directories, in the listed order
    QString error;        // why the list cannot be used; empty when it can
};
IndexListReading readIndexList(const QString& localListFile,
                               const ProgramPathResolver& resolveDrivePath = {});

// True when the list can be read and every index it names opens and holds
// documents: what a search needs before it can answer.
bool IsSearchIndexUsable(const QString& localListFile);

// Replaces the list with the given entries in one step (write aside, rename).
bool writeIndexList(const QString& localListFile, const QStringList& entries, QString* error);

// Removes the folders that interrupted builds left in installDir (a new
// index being made, an old one being replaced).
void RemoveIndexLeftovers(const QString& installDir,
                          const QString& folderName = indexformat::kIndexFolder);

// A new index built next to the installed one, so that a failed or
// interrupted build leaves the installed index and its list untouched.
class StagedIndex {
  public:
    // installDir: the local folder that holds the list file and the index.
    explicit StagedIndex(const QString& installDir,
                         const QString& folderName = indexformat::kIndexFolder,
                         const QString& listFileName = indexformat::kIndexListFile);
    ~StagedIndex();

    // Empty when the staging folder could not be made (see error()).
    QString buildPath() const;
    QString error() const { return error_; }

    // Moves the built index to installDir/folderName, rewrites the list to
    // name it and removes the index it replaces.
    bool install();
    QString installedPath() const;

  private:
    // Folders left by earlier runs that were interrupted.
    void removeLeftovers() const;

    QString installDir_;
    QString folderName_;
    QString listFileName_;
    std::unique_ptr<QTemporaryDir> staging_;
    QString error_;
};

}  // namespace lumera
