// The user's glossary: word pairs that replace whole words before or after the mapping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bytes.h"
#include "engine/glossary_index.h"

namespace morvane {

// Direction bits of a pair, as the separators "<" and ">" give them.
constexpr std::uint32_t GLOSSARY_TO_SIMPLIFIED = 1;
constexpr std::uint32_t GLOSSARY_TO_TRADITIONAL = 2;

// One word pair, both words GBK bytes.
struct GlossaryEntry {
    std::uint32_t directions = 0;
    std::string simplified;
    std::string traditional;
};

// The glossary file's place: $XDG_CONFIG_HOME/Morvane/GB-BIG5.txt (~/.config/Morvane/...).
std::string GlossaryPath();

// The list of pairs. The pair added last comes first in list order; at each position
// the first pair in list order whose key matches wins.
class CGlossary {
  public:
    // Adds the pairs of GlossaryReadPath() without clearing first. Returns false, list as it
    // was, when the file cannot be read; error (if given) then says why.
    bool Load(std::string* error = nullptr);
    // The same from any file.
    bool LoadFile(const std::string& path, std::string* error = nullptr);
    // Adds the pairs of a glossary file's bytes.
    void LoadText(std::string_view fileBytes);
    // Empties the list.
    void Clear();
    // Puts a pair at the front of the list. A pair with an empty key for a direction is
    // kept out of matching in that direction.
    void Add(std::string simplified, std::string traditional, std::uint32_t directions);

    // The first pair in list order whose key (by direction) starts text at position, or null.
    const GlossaryEntry* Find(std::string_view text, std::size_t position,
                              std::uint32_t direction) const;
    // Appends a prefix of text to output with the keys of direction replaced, and returns the
    // prefix's length: it stops where a key could still run on past the end of text, unless
    // last, so the rest can be given again with the text that follows it.
    std::size_t ApplyPrefix(std::string_view text, bool last, std::uint32_t direction,
                            Bytes& output) const;
    // Copies source into destination (replacing it) with Simplified keys replaced.
    void ApplyToTraditional(std::string_view source, Bytes& destination) const;
    // Copies source into destination (replacing it) with Traditional keys replaced.
    void ApplyToSimplified(std::string_view source, Bytes& destination) const;

    // The index of the keys of direction, ready for use; it gives each key's replacement too.
    const GlossaryIndex& PreparedIndex(std::uint32_t direction) const;

    // The number of pairs in the list.
    std::size_t Size() const { return entries_.size(); }
    // Pair i in list order (0 is the first, the one added last).
    const GlossaryEntry& At(std::size_t i) const { return entries_[entries_.size() - 1 - i]; }

  private:
    void Apply(std::string_view source, Bytes& destination, std::uint32_t direction) const;

    // Pairs in the order they were added; list order is the reverse.
    std::vector<GlossaryEntry> entries_;
    // For each direction, the keys ranked by add order: the highest rank that matches is the
    // first match in list order.
    GlossaryIndex index_[2];
};

// The program's one glossary, loaded at start and reloaded when the user saves it.
extern CGlossary g_glossary;

} // namespace morvane
