// Streaming code page steps: through a fused table where both code pages have one, otherwise
// through Unicode with a table or iconv on either side.
#pragma once

#include <memory>

#include "engine/stage.h"

namespace morvane {

// The step from one code page to another, or nullptr when either one is unknown.
std::unique_ptr<Stage> MakeCodePageStage(int fromCodePage, int toCodePage);

// The step that reads a file's bytes as DecodeLoadedText does: text that starts with the
// UTF-16LE mark FF FE is decoded into codePage, anything else passes as it is. Null when the
// code page is unknown.
std::unique_ptr<Stage> MakeLoadedTextStage(int codePage);

} // namespace morvane
