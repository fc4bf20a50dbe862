// Chaining steps and joining the pieces of a text across a step's carry.
#include "engine/stage.h"

#include <algorithm>

namespace morvane {

StageChain::StageChain(std::vector<std::unique_ptr<Stage>> stages)
    : stages_(std::move(stages)), between_(stages_.size()) {}

void StageChain::Push(std::string_view input, bool last, Bytes& output) {
    std::string_view piece = input;
    for (std::size_t i = 0; i < stages_.size(); ++i) {
        Stage& stage = *stages_[i];
        if (stage.PassesThrough())
            continue;
        const bool final = i + 1 == stages_.size();
        Bytes& into = final ? output : between_[i];
        if (!final)
            into.clear();
        stage.Push(piece, last, into);
        if (final)
            return;
        piece = into;
    }
    // Every step passed its input through.
    output.append(piece);
}

void CarryingStage::Push(std::string_view input, bool last, Bytes& output) {
    // Join the carry with the start of the input, growing the joined part until the step gets
    // past the carry; the rest is converted straight from the caller's buffer.
    while (!carry_.empty() && !input.empty()) {
        const std::size_t take = std::min(input.size(), std::max<std::size_t>(carry_.size(), 256));
        const std::size_t held = carry_.size();
        carry_.append(input.substr(0, take));
        const bool final = last && take == input.size();
        const std::size_t used = Convert(carry_, final, output);
        if (final) { // converted to the end and flushed
            carry_.clear();
            return;
        }
        if (used >= held) {
            input.remove_prefix(used - held);
            carry_.clear();
        } else {
            carry_.erase(0, used);
            input.remove_prefix(take);
        }
    }
    if (!carry_.empty()) { // no input left
        if (last) {
            Convert(carry_, true, output);
            carry_.clear();
        }
        return;
    }
    const std::size_t used = Convert(input, last, output);
    carry_.assign(input.substr(used));
}

void RunStage(Stage& stage, Bytes& text) {
    Bytes result;
    result.reserve(text.size() + text.size() / 8 + 16); // most conversions keep the size
    stage.Push(text, true, result);
    text.swap(result);
}

} // namespace morvane
