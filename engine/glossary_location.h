// Which glossary file Morvane reads: the user's own, or the one shipped with Morvane.
#pragma once

#include <string>

namespace morvane {

// The glossary shipped with Morvane, or "" when none is found. When $MORVANE_DATA_DIR is set
// and not empty, only that folder is looked in (a packager's or a test's override, and an
// empty folder there means "no shipped glossary"); otherwise the installed place beside the
// executable (<bin>/../share/morvane) and then the source tree's data folder, for a program
// run from its build folder.
std::string ShippedGlossaryPath();

// The file to read the glossary from: the user's GlossaryPath() once it exists, which is then
// the only one read; otherwise the shipped glossary; when there is none either, GlossaryPath()
// (whose load then finds nothing).
std::string GlossaryReadPath();

} // namespace morvane
