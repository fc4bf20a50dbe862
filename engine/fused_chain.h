// The Chinese chains as single steps: the character mapping and the GBK/BIG5 step in one pass.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/chinese_map.h"
#include "engine/stage.h"

namespace morvane {

class CGlossary;

// MapToTraditional, then GBK to BIG5: the same bytes as the two steps one after the other.
std::unique_ptr<Stage> MakeGbToBig5Stage();
// BIG5 to GBK, then MapToSimplified: the same bytes as the two steps one after the other.
std::unique_ptr<Stage> MakeBig5ToGbStage();
// The glossary of direction, then the mapping over all but the glossary's replacements, then
// (toBig5) GBK to BIG5 over everything.
std::unique_ptr<Stage> MakeGlossaryMapStage(const CGlossary& glossary, std::uint32_t direction,
                                            const GbkMapTable& map, bool toBig5);
// The character mapping alone (MapToTraditional or MapToSimplified) as a step.
std::unique_ptr<Stage> MakeMapStage(const GbkMapTable& map);

} // namespace morvane
