// A step run on two threads: a large piece is cut where the step holds nothing back, and the
// two halves are converted at once by two copies of the step.
#pragma once

#include <functional>
#include <memory>

#include "engine/stage.h"

namespace morvane {

// Whether the step made by makeStep can be cut in a piece right after two bytes below 0x80:
// it must then stand at a character's start with nothing held back, whatever came before,
// and a Push with last must leave it as new. Returns makeStep() alone where there is only
// one processor.
std::unique_ptr<Stage> MakeTwoThreadStage(const std::function<std::unique_ptr<Stage>()>& makeStep);

} // namespace morvane
