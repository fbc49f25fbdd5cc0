#pragma once

#include <QString>
#include <optional>

namespace lumera {

// Asks where the encyclopedia's CD is now, after saying what is wrong: a
// folder (the CD or a copy) or a disc image, chosen in the desktop's file
// dialogs, which open where the CD was last (lastPlace: the folder of its
// image or copy) or where the user chose last. Nothing when the user goes on
// without the CD; an empty text when a dialog was closed without a choice.
std::optional<QString> AskWhereTheCdIs(const QString& problem, const QString& lastPlace);

}  // namespace lumera
