#pragma once

#include <QString>
#include <optional>

namespace lumera {

// Asks where the encyclopedia's CD is now, after saying what is wrong: a
// folder (the CD or a copy) or a disc image, chosen in the desktop's file
// dialogs. Nothing when the user goes on without the CD; an empty text when
// a dialog was closed without a choice.
std::optional<QString> AskWhereTheCdIs(const QString& problem);

}  // namespace lumera
