// Test helpers: legacy-encoded bytes made from UTF-8 literals, and hex for readable failures.
#pragma once

#include <cstdio>
#include <string>

#include "engine/codepage.h"

namespace morvane::test {

// The bytes of a UTF-8 text in a code page.
inline std::string Encoded(const std::string& utf8, int codePage)
{
    std::string bytes = utf8;
    ConvertCodePage(bytes, kCodePageUtf8, codePage);
    return bytes;
}
inline std::string Gbk(const std::string& utf8) { return Encoded(utf8, kCodePageGbk); }
inline std::string Big5(const std::string& utf8) { return Encoded(utf8, kCodePageBig5); }

// A code page's bytes shown as UTF-8.
inline std::string Utf8(const std::string& bytes, int codePage)
{
    std::string text = bytes;
    ConvertCodePage(text, codePage, kCodePageUtf8);
    return text;
}

// "41 42 c3" for failure messages and byte-exact expectations.
inline std::string Hex(const std::string& bytes)
{
    std::string out;
    char cell[4];
    for (unsigned char c : bytes) {
        std::snprintf(cell, sizeof cell, out.empty() ? "%02x" : " %02x", c);
        out += cell;
    }
    return out;
}

// Empty when the texts are equal; else where they first differ, with the bytes around it.
// For long texts, whose whole-text failure message would be too large to print.
inline std::string FirstDifference(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return {};
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    const std::size_t from = at < 16 ? 0 : at - 16;
    return "differ at byte " + std::to_string(at) + " of " + std::to_string(actual.size()) +
           " and " + std::to_string(expected.size()) + "\n  actual:   " +
           Hex(actual.substr(from, 32)) + "\n  expected: " + Hex(expected.substr(from, 32));
}

// The bytes written as "41 42 c3".
inline std::string FromHex(const std::string& hex)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

} // namespace morvane::test
