// A conversion described once and run in pieces: by batch mode a file block by block, by the
// window a whole text in chunks with progress and a way to stop.
#pragma once

#include <functional>
#include <memory>

#include "engine/bytes.h"
#include "engine/stage.h"

namespace morvane {

class CGlossary;

// Which chain a conversion runs.
enum class ConversionKind {
    CodePage,                // fromCodePage to toCodePage
    GbToBig5,                // GBK Simplified to BIG5 Traditional
    Big5ToGb,                // BIG5 Traditional to GBK Simplified
    SimplifiedToTraditional, // inside GBK
    TraditionalToSimplified, // inside GBK
};

struct Conversion {
    ConversionKind kind = ConversionKind::CodePage;
    int fromCodePage = 0;
    int toCodePage = 0;
    // The glossary to apply, or nullptr for none.
    const CGlossary* glossary = nullptr;
    // Towards Simplified: the glossary before the mapping (batch mode) or after it (the views).
    bool glossaryFirst = true;
    // Decode a text starting with the UTF-16LE mark first, as DecodeLoadedText does for files.
    bool decodeUtf16Mark = false;
};

// The conversion as one streaming step, or nullptr when a code page is unknown.
std::unique_ptr<Stage> MakeConversion(const Conversion& conversion);

// Converts text in place, a chunk at a time, calling progress with the share done (0 to 1)
// after each chunk; progress returning false stops the work. Returns false, text untouched,
// when stopped or when a code page is unknown. The glossary must not change meanwhile.
bool ConvertWithProgress(Bytes& text, const Conversion& conversion,
                         const std::function<bool(double)>& progress);

} // namespace morvane
