// Batch mode: converts one file as the command line says, without any window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class BatchProgress;
class CGlossary;

// Exit statuses of batch mode.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;      // a file or conversion failure
constexpr int kExitUsage = 2;        // a command line that cannot be used

// What a batch run came to: its exit status and, on failure, one line saying why.
struct BatchResult {
    int exitCode = kExitOk;
    std::string message;
};

// Joins the program's words into the one argument string the grammar reads: single blanks
// between words, and double quotes around a word right after one ending in /S or /D that
// holds no double quote itself.
std::string JoinArguments(const std::vector<std::string>& words);

// Parses the argument string and converts the source file into the destination file, block
// by block, reporting to progress when given. The destination is replaced only once the whole
// result is written.
BatchResult RunCommandLine(std::string_view arguments, const CGlossary& glossary,
                           BatchProgress* progress = nullptr);

// True when the conversion that arguments ask for uses the glossary, which then needs loading.
bool UsesGlossary(std::string_view arguments);

// The usage text of the current language, with plain line feeds.
std::string UsageText();

} // namespace morvane
