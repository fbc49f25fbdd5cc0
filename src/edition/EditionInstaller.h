#pragma once

#include <QString>
#include <functional>

#include "edition/SetupError.h"

namespace lumera {

// Makes an installation folder from the encyclopedia's CD, a copy of it or
// its disc image: the set-up that the Windows installer did, with the search
// index and the key lookup built before the edition is put in place.
struct SetupRequest {
    QString cd;          // folder or disc image holding lex2000
    QString from;        // optional: a copied Windows installation folder
    QString into;        // the installation folder to make
    bool force = false;  // replace an edition that a set-up made there
};

struct SetupResult {
    QString folder;    // absolute
    QString cdDrive;   // "d:", as the template addresses it
    QString cdSource;  // what the drive is mapped to
    QString database;  // where lex.mdb was found
    QString templateFile;
    QString indexReport;  // what the indexer said: the count, and its warnings
};

enum class SetupStage { Copying, Indexing, Placing };
// Bytes copied or articles indexed so far, of total. It may throw (for
// example IndexingCancelled) to stop the set-up, which then leaves every
// folder as it found it.
using SetupProgress = std::function<void(SetupStage stage, qint64 done, qint64 total)>;

// Throws SetupError. The set-up touches only what it made: a target must be
// absent, empty or an edition that a set-up made (replaced only with force,
// and then only its own files); the new edition is made whole beside it and
// put in place in one step, so a failure or a kill at any moment leaves the
// old edition or the new one, and every file of the user's.
SetupResult InstallEdition(const SetupRequest& request, const SetupProgress& progress = {});

}  // namespace lumera
