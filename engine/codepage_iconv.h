// Code page conversion on the C library's iconv: the path for every code page without a table,
// and the reference that the tables are checked against.
#pragma once

#include <iconv.h>
#include <string>
#include <string_view>

#include "engine/bytes.h"

namespace morvane {

// A Windows code page number, the iconv name of its table, and the size of the code
// unit that a broken sequence is skipped by (so UTF-16 and UTF-32 stay aligned).
struct CodePageName {
    int codePage;
    const char* iconvName;
    int unitSize;
};

// The table entry of a code page number, or nullptr when none is known.
const CodePageName* FindCodePage(int codePage);

// The whole text through iconv at once, with the '?' policy of ConvertCodePage.
bool ConvertCodePageWithIconv(Bytes& text, int fromCodePage, int toCodePage);
// DecodeLoadedText through iconv at once.
bool DecodeLoadedTextWithIconv(Bytes& buffer, int codePage);

// An iconv descriptor that closes itself.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle();
    IconvHandle(IconvHandle&& other) noexcept : cd_(other.cd_) { other.cd_ = kClosed(); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    IconvHandle& operator=(IconvHandle&&) = delete;
    bool ok() const { return cd_ != kClosed(); }
    iconv_t get() const { return cd_; }

  private:
    static iconv_t kClosed() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

// Decodes a code page piece by piece into UCS-4 (glibc's wchar_t), as the whole-text path does.
class IconvDecoder {
  public:
    explicit IconvDecoder(const CodePageName& page);
    bool ok() const { return handle_.ok(); }
    // Appends the characters of a prefix of bytes to unicode and returns its length; a
    // sequence cut by the end of bytes is left for the next call unless last.
    std::size_t Decode(std::string_view bytes, bool last, std::wstring& unicode);

  private:
    IconvHandle handle_;
    int unitSize_;
};

// Encodes UCS-4 into a code page piece by piece; a character it lacks becomes its '?'.
class IconvEncoder {
  public:
    explicit IconvEncoder(const CodePageName& page);
    bool ok() const { return handle_.ok(); }
    // Appends the bytes of unicode to bytes; last also writes what a stateful encoding holds.
    void Encode(std::wstring_view unicode, bool last, Bytes& bytes);

  private:
    IconvHandle handle_;
};

} // namespace morvane
