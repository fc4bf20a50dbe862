// Which glossary file Morvane reads: the user's own, or the one shipped with Morvane.
#pragma once

#include <string>

namespace morvane {

// The file to read the glossary from: the user's GlossaryPath() when it exists, otherwise
// the shipped default, if one is installed.
std::string GlossaryReadPath();

} // namespace morvane
