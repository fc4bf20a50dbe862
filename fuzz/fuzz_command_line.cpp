// The batch command line: the scanner on any bytes, and the joining of separate words into the
// one string the scanner reads.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch.h"
#include "app/batch_args.h"
#include "fuzz_support.h"

using namespace morvane;

namespace {

// What every accepted command line has, whatever bytes it came from.
void CheckAccepted(const ParsedCommandLine& parsed)
{
    if (!parsed.ok) {
        if (parsed.error.empty())
            fuzz::Violated("a refused command line gives no reason");
        return;
    }
    const BatchArguments& args = parsed.arguments;
    if (args.mode == BatchMode::None)
        fuzz::Violated("accepted without a mode");
    if (args.sourceName.empty() || args.destinationName.empty())
        fuzz::Violated("accepted without both file names");
    if (args.sourceName.find('"') != std::string::npos ||
        args.destinationName.find('"') != std::string::npos)
        fuzz::Violated("a quoted name holds a double quote");
    if (args.mode == BatchMode::CodePage &&
        (args.sourceCodePage == 0 || args.destinationCodePage == 0))
        fuzz::Violated("/X accepted with a code page of 0");
}

// The words a program would be given: the input cut at NUL bytes.
std::vector<std::string> Words(std::string_view data)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= data.size()) {
        std::size_t end = data.find('\0', start);
        if (end == std::string_view::npos)
            end = data.size();
        words.emplace_back(data.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// A name JoinArguments can carry: not empty and without a double quote.
bool PlainName(const std::string& word)
{
    return !word.empty() && word.find('"') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    CheckAccepted(ParseCommandLine(data));

    const std::vector<std::string> words = Words(data);
    const std::string joined = JoinArguments(words);
    CheckAccepted(ParseCommandLine(joined));

    // Two words without a double quote, given as the file names of separate words, come back
    // from the scanner exactly, whatever blanks, slashes or switch letters they hold.
    if (words.size() >= 2 && PlainName(words[0]) && PlainName(words[1])) {
        const ParsedCommandLine parsed =
            ParseCommandLine(JoinArguments({"/B", "/S", words[0], "/D", words[1]}));
        if (!parsed.ok)
            fuzz::Violated("joined file names are refused");
        fuzz::ExpectSame("source name through JoinArguments", parsed.arguments.sourceName, words[0]);
        fuzz::ExpectSame("destination name through JoinArguments",
                         parsed.arguments.destinationName, words[1]);
    }
    return 0;
}
