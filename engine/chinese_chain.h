// The Simplified/Traditional chains: glossary, character mapping and the GBK/BIG5 step.
#pragma once

#include "engine/bytes.h"

namespace morvane {

class CGlossary;

// GBK Simplified to GBK Traditional: the glossary (when used) first, then the mapping.
void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary);
// GBK Traditional to GBK Simplified: the glossary before the mapping when glossaryFirst
// (batch mode), after it otherwise (the window's views).
void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst);
// GBK Simplified to BIG5 Traditional.
void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary);
// BIG5 Traditional to GBK Simplified.
void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst);

} // namespace morvane
