// The order in which glossary, character mapping and code page step run for each chain.
#include "engine/chinese_chain.h"

#include "engine/chinese_map.h"
#include "engine/codepage.h"
#include "engine/glossary.h"

namespace morvane {

void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    Bytes scratch;
    if (useGlossary) {
        glossary.ApplyToTraditional(text, scratch);
        MapToTraditional(scratch, text);
    } else {
        MapToTraditional(text, scratch);
        text.swap(scratch);
    }
}

void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst)
{
    Bytes scratch;
    if (!useGlossary) {
        MapToSimplified(text, scratch);
        text.swap(scratch);
    } else if (glossaryFirst) {
        glossary.ApplyToSimplified(text, scratch);
        MapToSimplified(scratch, text);
    } else {
        MapToSimplified(text, scratch);
        glossary.ApplyToSimplified(scratch, text);
    }
}

void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    SimplifiedToTraditional(text, glossary, useGlossary);
    ConvertCodePage(text, kCodePageGbk, kCodePageBig5);
}

void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst)
{
    ConvertCodePage(text, kCodePageBig5, kCodePageGbk);
    TraditionalToSimplified(text, glossary, useGlossary, glossaryFirst);
}

} // namespace morvane
