// One step of a conversion that takes its text in pieces of any size, and a chain of such steps.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/bytes.h"

namespace morvane {

// A conversion step fed piece by piece: the output of all pieces together is the output of
// the whole text given at once, however the text is cut.
class Stage {
  public:
    virtual ~Stage() = default;
    // Converts the next piece and appends the result to output. Whatever a later piece may
    // still change (a lead byte, a possible glossary word) is held back; last flushes it.
    virtual void Push(std::string_view input, bool last, Bytes& output) = 0;
    // True once the step is known to copy its input unchanged, so a chain may skip it.
    virtual bool PassesThrough() const { return false; }
};

// Steps run one after another; each one's output is the next one's input.
class StageChain : public Stage {
  public:
    explicit StageChain(std::vector<std::unique_ptr<Stage>> stages);
    void Push(std::string_view input, bool last, Bytes& output) override;

  private:
    std::vector<std::unique_ptr<Stage>> stages_;
    std::vector<Bytes> between_;
};

// A step whose pieces are joined through a short carry: Convert sees the text from where the
// previous call stopped, converts what it can decide and says how many bytes it used; the
// bytes it left are given again, with more behind them, on the next call.
class CarryingStage : public Stage {
  public:
    void Push(std::string_view input, bool last, Bytes& output) final;

  protected:
    // Converts a prefix of text into output and returns its length. With last, all of it.
    virtual std::size_t Convert(std::string_view text, bool last, Bytes& output) = 0;

  private:
    Bytes carry_;
};

// Runs a step over a whole text in one go.
void RunStage(Stage& stage, Bytes& text);

} // namespace morvane
