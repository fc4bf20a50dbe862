// The glossary loader on any file bytes, then replacement both ways over the same bytes and
// a search at every position.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/glossary.h"
#include "fuzz_support.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(bytes), size);
    CGlossary glossary;
    glossary.LoadText(file);

    for (std::size_t i = 0; i < glossary.Size(); ++i) {
        const GlossaryEntry& entry = glossary.At(i);
        if (entry.directions == 0 || (entry.directions & ~3u) != 0)
            fuzz::Violated("a pair without a valid direction was kept");
        // An empty key would match everywhere without moving on.
        if ((entry.directions & GLOSSARY_TO_TRADITIONAL) && entry.simplified.empty())
            fuzz::Violated("an empty Simplified key is used");
        if ((entry.directions & GLOSSARY_TO_SIMPLIFIED) && entry.traditional.empty())
            fuzz::Violated("an empty Traditional key is used");
    }

    Bytes out;
    glossary.ApplyToTraditional(file, out);
    glossary.ApplyToSimplified(file, out);
    for (const std::uint32_t direction : {GLOSSARY_TO_SIMPLIFIED, GLOSSARY_TO_TRADITIONAL}) {
        for (std::size_t position = 0; position <= file.size(); ++position) {
            const GlossaryEntry* found = glossary.Find(file, position, direction);
            if (found == nullptr)
                continue;
            const std::string& key =
                direction == GLOSSARY_TO_TRADITIONAL ? found->simplified : found->traditional;
            if ((found->directions & direction) == 0 || !file.substr(position).starts_with(key))
                fuzz::Violated("Find returned a pair that does not match there");
        }
    }

    // Loading the same bytes again adds the same pairs once more, in front.
    const std::size_t once = glossary.Size();
    glossary.LoadText(file);
    if (glossary.Size() != 2 * once)
        fuzz::Violated("a second load did not add the same number of pairs");
    glossary.Clear();
    if (glossary.Size() != 0)
        fuzz::Violated("Clear left pairs");
    return 0;
}
