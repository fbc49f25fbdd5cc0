#pragma once

#include <QString>
#include <QStringList>

namespace lumera {

// An installation folder as the set-up sees it. The set-up and the reader
// write a known set of names into it (lex.ini, lex.mdb, the template, the
// saved drive, the index, the key lookup, the scratch text and the page
// file, the set-up's mark); every other entry is the user's, and no set-up ever
// removes one.
namespace editionfolder {

// Written by every set-up: a folder that holds it was made by one.
inline const QString kSetupMark = QStringLiteral(".lumera-instalacao");

// True for a name the set-up or the reader writes into an edition's folder.
bool IsOwnName(const QString& name);

enum class State {
    Absent,
    Empty,
    SetupEdition,    // lex.ini and the set-up's mark (or, from earlier set-ups, its saved drive)
    SetupLeftover,   // the set-up's own files without lex.ini: a set-up stopped half way
    ForeignEdition,  // lex.ini that no set-up wrote
    UserFolder,      // files that are no edition's
    NotAFolder,
};
State Classify(const QString& folder);

// The staging folders of set-ups into target that were stopped before they
// ended: beside target, or inside it when it could not take part in a rename.
QStringList Leftovers(const QString& target);
inline const QString kStagingInside = QStringLiteral(".lumera-instalacao-");
QString StagingPrefixBeside(const QString& target);

// Empties a staging folder or a replaced edition of what the set-up wrote
// and gives every other entry back to target (a user's file carried there by
// a stopped replacement), then removes the folder if nothing is left. A name
// target already has stays where it is. False when something remains.
bool DisposeOf(const QString& folder, const QString& target);

}  // namespace editionfolder
}  // namespace lumera
