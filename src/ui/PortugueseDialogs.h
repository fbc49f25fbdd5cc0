#pragma once

namespace lumera {

// Qt's own dialogs and buttons (file and print dialogs, Sim/Não, the text
// fields' menus) speak Portuguese, from the translations the system ships
// (Debian's qt6-translations-l10n). False when none were found: they stay
// in English.
bool SpeakPortugueseInQtDialogs();

}  // namespace lumera
