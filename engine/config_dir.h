// Where Morvane keeps the user's files (glossary, settings).
#pragma once

#include <string>

namespace morvane {

// $XDG_CONFIG_HOME/Morvane, or ~/.config/Morvane when that variable is unset or empty.
// The folder is not created here.
std::string ConfigDir();

} // namespace morvane
