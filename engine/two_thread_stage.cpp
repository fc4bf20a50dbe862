// Cutting pieces in two: converting a piece costs far more than finding a cut, so both
// processors work on every large piece; small pieces stay on one thread, where handing work
// to the other would cost more than it saves.
#include "engine/two_thread_stage.h"

#include <algorithm>
#include <cstdint>
#include <thread>
#include <utility>

#include "engine/side_thread.h"

namespace morvane {
namespace {

constexpr std::size_t kSplitMinimum = 128 * 1024;

// Right after the first two bytes below 0x80 in a row from the middle of text on; 0 if none.
std::size_t FindCut(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    for (std::size_t i = std::max<std::size_t>(text.size() / 2, 2); i < text.size(); ++i) {
        if (bytes[i - 1] < 0x80 && bytes[i - 2] < 0x80)
            return i;
    }
    return 0;
}

class TwoThreadStage : public Stage {
  public:
    TwoThreadStage(std::unique_ptr<Stage> first, std::unique_ptr<Stage> second)
        : step_(std::move(first)), spare_(std::move(second)) {}

    void Push(std::string_view input, bool last, Bytes& output) override {
        const std::size_t cut = input.size() >= kSplitMinimum ? FindCut(input) : 0;
        if (cut == 0) {
            step_->Push(input, last, output);
            return;
        }
        // The spare step starts clean at the cut and goes on to hold what the piece leaves;
        // the step finishes the first half, with whatever it held from before, and is clean.
        second_.clear();
        side_.Start([&] { spare_->Push(input.substr(cut), last, second_); });
        try {
            step_->Push(input.substr(0, cut), true, output);
        } catch (...) {
            side_.Wait(); // the side thread still reads input
            throw;
        }
        side_.Wait();
        output += second_;
        std::swap(step_, spare_);
    }

    bool PassesThrough() const override { return step_->PassesThrough(); }

  private:
    std::unique_ptr<Stage> step_;
    std::unique_ptr<Stage> spare_;
    Bytes second_; // the spare step's output, its memory kept from piece to piece
    SideThread side_;
};

} // namespace

std::unique_ptr<Stage> MakeTwoThreadStage(const std::function<std::unique_ptr<Stage>()>& makeStep) {
    if (std::thread::hardware_concurrency() < 2)
        return makeStep();
    return std::make_unique<TwoThreadStage>(makeStep(), makeStep());
}

} // namespace morvane
