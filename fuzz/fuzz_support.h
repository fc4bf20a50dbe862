// Helpers shared by the fuzz targets: the code pages Morvane knows, picked by input bytes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codepage.h"
#include "engine/codepage_iconv.h"

namespace morvane::fuzz {

// Every code page number the engine has a name for, found by asking it about each number a
// code page can have, so a page added to its table is fuzzed without touching this file.
// A page whose converter the C library lacks is left out here (tests/faults checks that every
// listed page can be set up), so it does not stop every run at its first input.
inline const std::vector<int>& KnownCodePages()
{
    static const std::vector<int> pages = [] {
        std::vector<int> found;
        for (int number = 0; number <= 65535; ++number) {
            Bytes probe;
            if (FindCodePage(number) != nullptr && ConvertCodePage(probe, number, kCodePageUtf8) &&
                ConvertCodePage(probe, kCodePageUtf8, number))
                found.push_back(number);
        }
        return found;
    }();
    return pages;
}

// The known code page that one input byte stands for.
inline int PickCodePage(std::uint8_t byte)
{
    const std::vector<int>& pages = KnownCodePages();
    return pages[byte % pages.size()];
}

// Ends the run with a report that libFuzzer keeps as a crash, input saved.
[[noreturn]] inline void Mismatch(const char* what, std::string_view a, std::string_view b)
{
    std::fprintf(stderr, "MISMATCH: %s\n  first  (%zu bytes)\n  second (%zu bytes)\n", what,
                 a.size(), b.size());
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) {
            std::fprintf(stderr, "  first difference at byte %zu\n", i);
            break;
        }
    }
    std::abort();
}

inline void ExpectSame(const char* what, std::string_view a, std::string_view b)
{
    if (a != b)
        Mismatch(what, a, b);
}

[[noreturn]] inline void Violated(const char* what)
{
    std::fprintf(stderr, "VIOLATED: %s\n", what);
    std::abort();
}

} // namespace morvane::fuzz
