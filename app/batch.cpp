// Batch mode: stream the source through the conversion block by block into the destination,
// which is replaced in one step at the end.
#include "app/batch.h"

#include "app/batch_args.h"
#include "app/batch_files.h"
#include "app/batch_progress.h"
#include "app/batch_stream.h"
#include "engine/codepage.h"
#include "engine/conversion.h"
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

// The conversion a command line asks for; a file's UTF-16LE mark is decoded first.
Conversion ConversionOf(const BatchArguments& args, const CGlossary& glossary)
{
    Conversion conversion;
    conversion.decodeUtf16Mark = true;
    conversion.glossary = args.useGlossary ? &glossary : nullptr;
    conversion.glossaryFirst = true;
    switch (args.mode) {
    case BatchMode::CodePage:
        conversion.kind = ConversionKind::CodePage;
        conversion.fromCodePage = args.sourceCodePage;
        conversion.toCodePage = args.destinationCodePage;
        conversion.glossary = nullptr;
        break;
    case BatchMode::Big5ToGb:
        conversion.kind = ConversionKind::Big5ToGb;
        break;
    case BatchMode::GbToBig5:
    case BatchMode::None:
        conversion.kind = ConversionKind::GbToBig5;
        break;
    }
    return conversion;
}

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
    // A word taken as a file name is not a switch, even when it ends like one ("notes/D").
    bool previousIsSwitch = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            joined += ' ';
        const bool quote = previousIsSwitch && words[i].find('"') == std::string::npos;
        joined += quote ? "\"" + words[i] + "\"" : words[i];
        previousIsSwitch = !quote && EndsWithFileSwitch(words[i]);
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

bool UsesGlossary(std::string_view arguments)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    return parsed.ok && parsed.arguments.useGlossary &&
           parsed.arguments.mode != BatchMode::CodePage;
}

BatchResult RunCommandLine(std::string_view arguments, const CGlossary& glossary,
                           BatchProgress* progress)
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

    std::string error;
    SourceFile source;
    if (!source.Open(args.sourceName, error))
        return Failure(kExitFailure, "cannot read the source file " + error);
    const std::unique_ptr<Stage> conversion = MakeConversion(ConversionOf(args, glossary));
    if (!conversion) // the C library lacks a table it names (HZ, say)
        return Failure(kExitUsage, "/X: iconv cannot convert from code page " +
                                       std::to_string(args.sourceCodePage) + " to " +
                                       std::to_string(args.destinationCodePage));
    DestinationFile destination;
    if (!destination.Open(args.destinationName, error))
        return Failure(kExitFailure, "cannot write the destination file " + error);

    if (progress != nullptr)
        progress->Start(source.Size());
    std::uint64_t converted = 0;
    const StreamOutcome outcome =
        StreamFile(source, *conversion, destination, [&](std::uint64_t done) {
            converted = done;
            if (progress != nullptr)
                progress->Update(done);
        });
    if (progress != nullptr)
        progress->Finish(converted); // a shown line is ended before any message
    if (outcome.status == StreamOutcome::Status::ReadFailed)
        return Failure(kExitFailure, "cannot read the source file " + outcome.error);
    if (outcome.status == StreamOutcome::Status::WriteFailed)
        return Failure(kExitFailure, "cannot write the destination file " + outcome.error);
    if (!destination.Commit(error))
        return Failure(kExitFailure, "cannot write the destination file " + error);
    return {};
}

} // namespace morvane
