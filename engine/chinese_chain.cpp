// The order in which glossary, character mapping and code page step run for each chain; the
// steps themselves are the streaming ones, run over the whole text at once.
#include "engine/chinese_chain.h"

#include "engine/conversion.h"

namespace morvane {
namespace {

void Run(Bytes& text, ConversionKind kind, const CGlossary& glossary, bool useGlossary,
         bool glossaryFirst = true)
{
    Conversion conversion;
    conversion.kind = kind;
    conversion.glossary = useGlossary ? &glossary : nullptr;
    conversion.glossaryFirst = glossaryFirst;
    const std::unique_ptr<Stage> stage = MakeConversion(conversion);
    RunStage(*stage, text);
}

} // namespace

void SimplifiedToTraditional(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    Run(text, ConversionKind::SimplifiedToTraditional, glossary, useGlossary);
}

void TraditionalToSimplified(Bytes& text, const CGlossary& glossary, bool useGlossary,
                             bool glossaryFirst)
{
    Run(text, ConversionKind::TraditionalToSimplified, glossary, useGlossary, glossaryFirst);
}

void GbToBig5(Bytes& text, const CGlossary& glossary, bool useGlossary)
{
    Run(text, ConversionKind::GbToBig5, glossary, useGlossary);
}

void Big5ToGb(Bytes& text, const CGlossary& glossary, bool useGlossary, bool glossaryFirst)
{
    Run(text, ConversionKind::Big5ToGb, glossary, useGlossary, glossaryFirst);
}

} // namespace morvane
