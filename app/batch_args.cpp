// Scanner of the batch command line: words that are not switches are skipped byte by byte.
#include "app/batch_args.h"

namespace morvane {
namespace {

int DigitValue(char c, int base)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

ParsedCommandLine Fail(std::string reason)
{
    ParsedCommandLine result;
    result.error = std::move(reason);
    return result;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::size_t SkipBlanks(std::string_view text, std::size_t p)
{
    while (p < text.size() && text[p] == ' ')
        ++p;
    return p;
}

std::size_t ParseNumberArg(std::string_view text, std::size_t p, std::int32_t& value)
{
    p = SkipBlanks(text, p);
    int base = 10;
    if (p + 1 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
        base = 16;
        p += 2;
    }
    std::uint32_t number = 0; // unsigned, so an overlong number wraps as 32-bit arithmetic does
    for (int digit; p < text.size() && (digit = DigitValue(text[p], base)) >= 0; ++p)
        number = number * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    value = static_cast<std::int32_t>(number);
    return p;
}

std::size_t ParseQuotedArg(std::string_view text, std::size_t p, std::string& name)
{
    p = SkipBlanks(text, p);
    if (p >= text.size() || text[p] != '"')
        return p;
    const std::size_t close = text.find('"', p + 1);
    if (close == std::string_view::npos) {
        name.clear();
        return text.size();
    }
    name.assign(text.substr(p + 1, close - p - 1));
    return close + 1;
}

ParsedCommandLine ParseCommandLine(std::string_view text)
{
    if (text.empty())
        return Fail("no arguments");
    BatchArguments args;
    auto setMode = [&args](BatchMode mode) {
        if (args.mode != BatchMode::None)
            return false;
        args.mode = mode;
        return true;
    };
    std::size_t p = 0;
    while (p < text.size()) {
        p = SkipBlanks(text, p);
        if (p >= text.size())
            break;
        if (text[p] != '/') {
            ++p;
            continue;
        }
        if (p + 1 >= text.size())
            return Fail("a \"/\" at the end of the command line names no switch");
        const char letter = text[p + 1];
        const std::string switchName = std::string("/") + letter;
        p += 2;
        switch (Lower(letter)) {
        case 'b':
        case 'g':
        case 'x':
            if (!setMode(Lower(letter) == 'b'   ? BatchMode::GbToBig5
                         : Lower(letter) == 'g' ? BatchMode::Big5ToGb
                                                : BatchMode::CodePage))
                return Fail("switch " + switchName + ": only one of /X, /B and /G may be given");
            if (args.mode == BatchMode::CodePage) {
                p = ParseNumberArg(text, p, args.sourceCodePage);
                p = ParseNumberArg(text, p, args.destinationCodePage);
            }
            break;
        case 't':
            args.useGlossary = true;
            break;
        case 's':
            p = ParseQuotedArg(text, p, args.sourceName);
            break;
        case 'd':
            p = ParseQuotedArg(text, p, args.destinationName);
            break;
        default:
            return Fail("unknown switch " + switchName);
        }
    }
    if (args.mode == BatchMode::None)
        return Fail("one of /X, /B and /G must be given");
    if (args.sourceName.empty())
        return Fail("/S needs the source file name in double quotes");
    if (args.destinationName.empty())
        return Fail("/D needs the destination file name in double quotes");
    if (args.mode == BatchMode::CodePage && (args.sourceCodePage == 0 || args.destinationCodePage == 0))
        return Fail("/X needs two code page numbers, such as /X 936 950");
    ParsedCommandLine result;
    result.ok = true;
    result.arguments = std::move(args);
    return result;
}

} // namespace morvane
