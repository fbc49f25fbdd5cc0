#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

#include "host/ContentPaths.h"
#include "media/DriveMap.h"

namespace lumera {

// A failure that ends a run on an edition, with the message for the user.
struct EditionProblem {
    QString message;
};

// The edition the reader would open from the current folder: lex.ini read,
// the drives mapped as every program maps them, the CD looked for and
// lex.mdb found, for the tools that work on a whole edition.
struct EditionAtHand {
    ContentPaths paths;
    DriveMap drives;
    QString databaseFile;  // local
    QString cdProblem;     // why the CD drive stays unmapped, when it does

    // Mapping problems go to err after program's name. Throws EditionProblem.
    static std::unique_ptr<EditionAtHand> open(const QStringList& driveOptions,
                                               const QString& program, QTextStream& err);
};

}  // namespace lumera
