// Code page conversion through Unicode, on the C library's iconv.
#pragma once

#include "engine/bytes.h"

namespace morvane {

// Code page numbers with a meaning of their own beyond the iconv table.
constexpr int kCodePageUtf8 = 65001;
constexpr int kCodePageGbk = 936;
constexpr int kCodePageBig5 = 950;

// The iconv name of a Windows code page number, or nullptr when none is known.
const char* IconvNameForCodePage(int codePage);

// Re-encodes text from one code page to another through Unicode, in place; runs even when
// the two are equal. A source sequence that is not valid, and a character the target cannot
// hold, each become one '?'. Returns false, text untouched, when a code page is unknown.
bool ConvertCodePage(Bytes& text, int fromCodePage, int toCodePage);

// Turns the bytes of a file that start with the UTF-16LE mark FF FE into text of codePage,
// in place, the mark dropped; any other bytes stay as they are. An odd last byte and an
// unpaired surrogate become '?'. Returns false, buffer untouched, for an unknown code page.
bool DecodeLoadedText(Bytes& buffer, int codePage);

} // namespace morvane
