// Finds the glossary file to read.
#include "engine/glossary_location.h"

#include "engine/glossary.h"

namespace morvane {

std::string GlossaryReadPath() { return GlossaryPath(); }

} // namespace morvane
