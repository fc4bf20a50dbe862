// The batch command line's grammar: switches /X /B /G /T /S /D in one argument string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

enum class BatchMode { None, GbToBig5, Big5ToGb, CodePage };

// What a valid command line asks for.
struct BatchArguments {
    BatchMode mode = BatchMode::None;
    std::int32_t sourceCodePage = 0;
    std::int32_t destinationCodePage = 0;
    bool useGlossary = false;
    std::string sourceName;
    std::string destinationName;
};

// The arguments, or the reason the command line cannot be used.
struct ParsedCommandLine {
    bool ok = false;
    std::string error;
    BatchArguments arguments;
};

// The first position at or after p that is not a blank (0x20); tabs are not blanks.
std::size_t SkipBlanks(std::string_view text, std::size_t p);
// Reads a decimal or 0x-prefixed hexadecimal number after blanks, wrapping in 32 bits;
// stores 0 when no digit follows. Returns the position after what it read.
std::size_t ParseNumberArg(std::string_view text, std::size_t p, std::int32_t& value);
// Reads a double-quoted name after blanks into name. Without an opening quote name is left
// alone; without a closing quote name becomes empty. Returns the position after it.
std::size_t ParseQuotedArg(std::string_view text, std::size_t p, std::string& name);

// Scans a whole argument string.
ParsedCommandLine ParseCommandLine(std::string_view arguments);

} // namespace morvane
