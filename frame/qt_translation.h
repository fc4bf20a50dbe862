// Qt's own texts (dialog buttons, standard dialogs, edit menus) in the interface language.
#pragma once

namespace morvane {

// Replaces the installed Qt translation with the one for the language (0 English, 1
// Simplified, 2 Traditional Chinese). Returns false when the catalogue cannot be loaded;
// Qt then speaks English.
bool InstallQtTranslation(int language);

} // namespace morvane
