// The glossary file's format, the list of word pairs and first-match replacement.
#include "engine/glossary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/config_dir.h"
#include "engine/glossary_location.h"

namespace morvane {

CGlossary g_glossary;

namespace {

constexpr std::size_t DirectionSlot(std::uint32_t direction)
{
    return direction == GLOSSARY_TO_TRADITIONAL ? 1 : 0;
}

bool IsSeparator(char c) { return c == '<' || c == '>'; }

std::uint32_t SeparatorBits(char c) { return c == '<' ? GLOSSARY_TO_SIMPLIFIED : GLOSSARY_TO_TRADITIONAL; }

// Steps over one character of GBK text: a byte from 0x80 up starts a two-byte character,
// except as the very last byte, which is taken alone rather than read past.
std::size_t NextCharacter(std::string_view text, std::size_t i)
{
    if (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size())
        return i + 2;
    return i + 1;
}

// Finds the first separator at or after i outside two-byte characters, stopping at a line
// end when stopAtLineEnd; returns its position or the stop position.
std::size_t ScanWord(std::string_view line, std::size_t i, bool stopAtLineEnd)
{
    auto isLineEnd = [&line](std::size_t at) {
        return at < line.size() && (line[at] == '\r' || line[at] == '\n');
    };
    while (i < line.size() && !IsSeparator(line[i]) && !(stopAtLineEnd && isLineEnd(i))) {
        // A lead byte cut off by the line end stays alone: the line end still ends the word.
        i = stopAtLineEnd && isLineEnd(i + 1) ? i + 1 : NextCharacter(line, i);
    }
    return i;
}

const std::string& KeyOf(const GlossaryEntry& entry, std::uint32_t direction)
{
    return direction == GLOSSARY_TO_TRADITIONAL ? entry.simplified : entry.traditional;
}

const std::string& ReplacementOf(const GlossaryEntry& entry, std::uint32_t direction)
{
    return direction == GLOSSARY_TO_TRADITIONAL ? entry.traditional : entry.simplified;
}

} // namespace

std::string GlossaryPath() { return ConfigDir() + "/GB-BIG5.txt"; }

bool CGlossary::Load(std::string* error) { return LoadFile(GlossaryReadPath(), error); }

bool CGlossary::LoadFile(const std::string& path, std::string* error)
{
    // A device or FIFO could feed bytes without end or block: only a regular file is read.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (error != nullptr)
            *error = path + ": not a regular file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error != nullptr)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        if (error != nullptr)
            *error = path + ": " + std::strerror(errno);
        return false;
    }
    LoadText(contents.view());
    return true;
}

void CGlossary::LoadText(std::string_view fileBytes)
{
    std::size_t lineStart = 0;
    while (lineStart < fileBytes.size()) {
        std::size_t lineEnd = fileBytes.find('\n', lineStart);
        lineEnd = lineEnd == std::string_view::npos ? fileBytes.size() : lineEnd + 1;
        const std::string_view line = fileBytes.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd;
        if (line.empty() || line[0] == '[')
            continue;

        std::size_t separator = ScanWord(line, 0, false);
        if (separator >= line.size())
            continue;
        const std::string_view simplified = line.substr(0, separator);
        // Every further separator on the line makes one more pair with the same
        // Simplified word and the text after that separator.
        while (separator < line.size() && IsSeparator(line[separator])) {
            std::uint32_t directions = SeparatorBits(line[separator]);
            std::size_t wordStart = separator + 1;
            if (wordStart < line.size() && IsSeparator(line[wordStart]))
                directions |= SeparatorBits(line[wordStart++]);
            separator = ScanWord(line, wordStart, true);
            Add(std::string(simplified), std::string(line.substr(wordStart, separator - wordStart)),
                directions);
        }
    }
}

void CGlossary::Clear()
{
    entries_.clear();
    for (GlossaryIndex& index : index_)
        index.Clear();
}

void CGlossary::Add(std::string simplified, std::string traditional, std::uint32_t directions)
{
    // An empty key would match everywhere without moving the scan on.
    if (simplified.empty())
        directions &= ~GLOSSARY_TO_TRADITIONAL;
    if (traditional.empty())
        directions &= ~GLOSSARY_TO_SIMPLIFIED;
    directions &= GLOSSARY_TO_SIMPLIFIED | GLOSSARY_TO_TRADITIONAL;
    if (directions == 0)
        return;
    const auto index = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back({directions, std::move(simplified), std::move(traditional)});
    for (std::uint32_t direction : {GLOSSARY_TO_SIMPLIFIED, GLOSSARY_TO_TRADITIONAL}) {
        if ((directions & direction) == 0)
            continue;
        index_[DirectionSlot(direction)].Add(KeyOf(entries_.back(), direction), index,
                                             ReplacementOf(entries_.back(), direction));
    }
}

const GlossaryEntry* CGlossary::Find(std::string_view text, std::size_t position,
                                     std::uint32_t direction) const
{
    if (position >= text.size())
        return nullptr;
    std::uint32_t rank = 0;
    std::size_t length = 0;
    const GlossaryIndex& index = index_[DirectionSlot(direction)];
    index.Prepare();
    if (!index.Find(text.substr(position), rank, length))
        return nullptr;
    return &entries_[rank];
}

const GlossaryIndex& CGlossary::PreparedIndex(std::uint32_t direction) const
{
    const GlossaryIndex& index = index_[DirectionSlot(direction)];
    index.Prepare();
    return index;
}

std::size_t CGlossary::ApplyPrefix(std::string_view text, bool last, std::uint32_t direction,
                                   Bytes& output) const
{
    const GlossaryIndex& index = index_[DirectionSlot(direction)];
    index.Prepare();
    // Where a key or a two-byte character could reach past the end, more text is needed.
    const std::size_t reach = std::max<std::size_t>(index.LongestKey(), 2);
    const std::size_t size = text.size();
    const std::size_t decidable = last ? size : size >= reach ? size - reach + 1 : 0;
    // Text without matches is copied in runs, not character by character.
    std::size_t copied = 0;
    while (true) {
        const GlossaryIndex::Match match = index.Scan(text, copied, decidable);
        output.append(text.substr(copied, match.position - copied));
        if (!match.found)
            return match.position;
        output += ReplacementOf(entries_[match.rank], direction);
        copied = match.position + match.length;
    }
}

void CGlossary::Apply(std::string_view source, Bytes& destination, std::uint32_t direction) const
{
    destination.clear();
    destination.reserve(source.size() + source.size() / 8);
    ApplyPrefix(source, true, direction, destination);
}

void CGlossary::ApplyToTraditional(std::string_view source, Bytes& destination) const
{
    Apply(source, destination, GLOSSARY_TO_TRADITIONAL);
}

void CGlossary::ApplyToSimplified(std::string_view source, Bytes& destination) const
{
    Apply(source, destination, GLOSSARY_TO_SIMPLIFIED);
}

} // namespace morvane
