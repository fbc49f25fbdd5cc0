#pragma once

#include <QString>

namespace lumera {

// Makes an installation folder from the encyclopedia's CD, a copy of it or
// its disc image: the set-up that the Windows installer did, without the
// index (built next, by the indexer, in the new folder).
struct SetupRequest {
    QString cd;          // folder or disc image holding lex2000
    QString from;        // optional: a copied Windows installation folder
    QString into;        // the installation folder to make
    bool force = false;  // replace an edition already there
};

struct SetupResult {
    QString folder;    // absolute
    QString cdDrive;   // "d:", as the template addresses it
    QString cdSource;  // what the drive is mapped to
    QString database;  // where lex.mdb was found
    QString templateFile;
};

struct SetupError {
    QString message;  // Portuguese, for the user
};

// Throws SetupError; an edition already in into is left as it was.
SetupResult InstallEdition(const SetupRequest& request);

}  // namespace lumera
