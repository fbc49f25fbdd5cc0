#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

namespace lumera {

// Rows read so far and rows in all; it may throw IndexingCancelled to stop.
using IndexProgress = std::function<void(int done, int total)>;
struct IndexingCancelled {};

// Builds and installs the index of the edition whose lex.ini is in the
// current directory, as lumera-index does; a cancelled or failed build
// leaves the installed index as it was. Returns the exit status (1 on
// failure, with the message on err); IndexingCancelled goes through.
int BuildIndex(const QStringList& driveOptions, int threads, QTextStream& out, QTextStream& err,
               const IndexProgress& progress);

// An edition that is not in place yet (a set-up's staging folder): its
// database, the folder that receives the index, and its CD as a drive.
struct EditionToIndex {
    QString databaseFile;
    QString folder;
    QChar cdDrive;
    QString cdSource;
    QString shownFolder;  // where it will be: what the messages name
};
// The same as BuildIndex for that edition; no lex.ini is read.
int BuildIndexOf(const EditionToIndex& edition, int threads, QTextStream& out, QTextStream& err,
                 const IndexProgress& progress);

}  // namespace lumera
