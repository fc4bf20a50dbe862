// Putting the steps of each conversion in order, and running one over a text in chunks.
#include "engine/conversion.h"

#include <algorithm>
#include <vector>

#include "engine/chinese_map.h"
#include "engine/codepage.h"
#include "engine/codepage_stream.h"
#include "engine/fused_chain.h"
#include "engine/glossary.h"

namespace morvane {
namespace {

// The glossary as a step: text where a key could still run on waits for the next piece.
class GlossaryStage : public CarryingStage {
  public:
    GlossaryStage(const CGlossary& glossary, std::uint32_t direction)
        : glossary_(glossary), direction_(direction) {}

  protected:
    std::size_t Convert(std::string_view text, bool last, Bytes& output) override {
        return glossary_.ApplyPrefix(text, last, direction_, output);
    }

  private:
    const CGlossary& glossary_;
    std::uint32_t direction_;
};

std::unique_ptr<Stage> Glossary(const CGlossary& glossary, std::uint32_t direction) {
    return std::make_unique<GlossaryStage>(glossary, direction);
}

// The steps after any UTF-16 decoding, in the order the chain runs them.
std::vector<std::unique_ptr<Stage>> Steps(const Conversion& c) {
    std::vector<std::unique_ptr<Stage>> steps;
    switch (c.kind) {
    case ConversionKind::CodePage:
        steps.push_back(MakeCodePageStage(c.fromCodePage, c.toCodePage));
        break;
    case ConversionKind::GbToBig5:
        if (c.glossary != nullptr)
            steps.push_back(MakeGlossaryMapStage(*c.glossary, GLOSSARY_TO_TRADITIONAL,
                                                 TraditionalTable(), true));
        else
            steps.push_back(MakeGbToBig5Stage());
        break;
    case ConversionKind::Big5ToGb:
        if (c.glossary != nullptr && c.glossaryFirst) {
            // The glossary sits between the code page step and the mapping.
            steps.push_back(MakeCodePageStage(kCodePageBig5, kCodePageGbk));
            steps.push_back(MakeGlossaryMapStage(*c.glossary, GLOSSARY_TO_SIMPLIFIED,
                                                 SimplifiedTable(), false));
        } else {
            steps.push_back(MakeBig5ToGbStage());
            if (c.glossary != nullptr)
                steps.push_back(Glossary(*c.glossary, GLOSSARY_TO_SIMPLIFIED));
        }
        break;
    case ConversionKind::SimplifiedToTraditional:
        if (c.glossary != nullptr)
            steps.push_back(MakeGlossaryMapStage(*c.glossary, GLOSSARY_TO_TRADITIONAL,
                                                 TraditionalTable(), false));
        else
            steps.push_back(MakeMapStage(TraditionalTable()));
        break;
    case ConversionKind::TraditionalToSimplified:
        if (c.glossary != nullptr && c.glossaryFirst) {
            steps.push_back(MakeGlossaryMapStage(*c.glossary, GLOSSARY_TO_SIMPLIFIED,
                                                 SimplifiedTable(), false));
            break;
        }
        steps.push_back(MakeMapStage(SimplifiedTable()));
        if (c.glossary != nullptr)
            steps.push_back(Glossary(*c.glossary, GLOSSARY_TO_SIMPLIFIED));
        break;
    }
    return steps;
}

// The steps as one.
std::unique_ptr<Stage> Combined(const Conversion& c)
{
    std::vector<std::unique_ptr<Stage>> steps = Steps(c);
    if (std::any_of(steps.begin(), steps.end(), [](const auto& step) { return !step; }))
        return nullptr;
    if (steps.size() == 1)
        return std::move(steps.front());
    return std::make_unique<StageChain>(std::move(steps));
}

// The code page a UTF-16 text is decoded into: the one the chain reads.
int SourceCodePage(const Conversion& c) {
    switch (c.kind) {
    case ConversionKind::CodePage:
        return c.fromCodePage;
    case ConversionKind::Big5ToGb:
        return kCodePageBig5;
    default:
        return kCodePageGbk;
    }
}

} // namespace

std::unique_ptr<Stage> MakeConversion(const Conversion& conversion)
{
    std::unique_ptr<Stage> steps = Combined(conversion);
    if (!steps || !conversion.decodeUtf16Mark)
        return steps;
    std::unique_ptr<Stage> decode = MakeLoadedTextStage(SourceCodePage(conversion));
    if (!decode)
        return nullptr;
    std::vector<std::unique_ptr<Stage>> chain;
    chain.push_back(std::move(decode));
    chain.push_back(std::move(steps));
    return std::make_unique<StageChain>(std::move(chain));
}

bool ConvertWithProgress(Bytes& text, const Conversion& conversion,
                         const std::function<bool(double)>& progress) {
    constexpr std::size_t kChunk = 1 << 20;
    const std::unique_ptr<Stage> stage = MakeConversion(conversion);
    if (!stage)
        return false;
    Bytes result;
    result.reserve(text.size());
    const std::string_view whole = text;
    std::size_t done = 0;
    do {
        const std::string_view chunk = whole.substr(done, kChunk);
        done += chunk.size();
        stage->Push(chunk, done == whole.size(), result);
        const double share = whole.empty() ? 1.0 : static_cast<double>(done) / whole.size();
        if (progress && !progress(share))
            return false;
    } while (done < whole.size());
    text.swap(result);
    return true;
}

} // namespace morvane
