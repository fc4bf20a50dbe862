// Batch mode: read the source whole, convert it, replace the destination in one step.
#include "app/batch.h"

#include "app/batch_args.h"
#include "app/batch_files.h"
#include "engine/chinese_chain.h"
#include "engine/codepage.h"
#include "engine/glossary.h"
#include "lang/lang.h"

namespace morvane {
namespace {

bool EndsWithFileSwitch(const std::string& word)
{
    if (word.size() < 2 || word[word.size() - 2] != '/')
        return false;
    const char letter = word.back();
    return letter == 'S' || letter == 's' || letter == 'D' || letter == 'd';
}

BatchResult Failure(int exitCode, std::string message) { return {exitCode, std::move(message)}; }

BatchResult CheckCodePage(const char* switchRole, int codePage)
{
    if (IconvNameForCodePage(codePage) != nullptr)
        return {};
    return Failure(kExitUsage, std::string("/X: unknown ") + switchRole + " code page " +
                                   std::to_string(codePage));
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& words)
{
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            joined += ' ';
        const bool quote = i > 0 && EndsWithFileSwitch(words[i - 1]) &&
                           words[i].find('"') == std::string::npos;
        joined += quote ? "\"" + words[i] + "\"" : words[i];
    }
    return joined;
}

std::string UsageText()
{
    std::string text = g_helpTexts[g_nLanguage];
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            plain += c;
    return plain;
}

BatchResult RunCommandLine(std::string_view arguments, const CGlossary& glossary)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.ok)
        return Failure(kExitUsage, parsed.error);
    const BatchArguments& args = parsed.arguments;
    if (args.mode == BatchMode::CodePage) {
        if (BatchResult bad = CheckCodePage("source", args.sourceCodePage); bad.exitCode != 0)
            return bad;
        if (BatchResult bad = CheckCodePage("destination", args.destinationCodePage);
            bad.exitCode != 0)
            return bad;
    }

    std::string text;
    std::string error;
    if (!ReadWholeFile(args.sourceName, text, error))
        return Failure(kExitFailure, "cannot read the source file " + error);

    switch (args.mode) {
    case BatchMode::CodePage:
        DecodeLoadedText(text, args.sourceCodePage);
        ConvertCodePage(text, args.sourceCodePage, args.destinationCodePage);
        break;
    case BatchMode::GbToBig5:
        DecodeLoadedText(text, kCodePageGbk);
        GbToBig5(text, glossary, args.useGlossary);
        break;
    case BatchMode::Big5ToGb:
        DecodeLoadedText(text, kCodePageBig5);
        Big5ToGb(text, glossary, args.useGlossary, /*glossaryFirst=*/true);
        break;
    case BatchMode::None:
        break;
    }

    if (!WriteFileReplacing(args.destinationName, text, error))
        return Failure(kExitFailure, "cannot write the destination file " + error);
    return {};
}

} // namespace morvane
