// The Simplified/Traditional chains: glossary, character mapping and the GBK/BIG5 step.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/bytes.h"

namespace morvane {

class CGlossary;

// A glossary that runs before the mapping wins over it: the mapping converts the text between
// the glossary's replacements and never a replacement itself; the GBK/BIG5 step converts all.

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

// A piece of the glossary's output: text it copied, or a replacement it wrote.
struct GlossarySegment {
    std::string_view bytes;
    bool fromGlossary = false;
};

// The glossary's output over text as segments, by the plain list walk: at each character
// that starts with a byte from 0x80 up, the first pair in list order whose key of direction
// starts there; a byte below 0x80 is stepped over alone, any other with the next byte.
std::vector<GlossarySegment> GlossarySegments(const CGlossary& glossary, std::string_view text,
                                              std::uint32_t direction);

// The same chains written plainly, one whole step after another over the whole text, with
// iconv for the GBK/BIG5 step: the reference the streaming chains above are checked against.
namespace plain {
void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary);
void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst);
void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary);
void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst);
} // namespace plain

} // namespace morvane
