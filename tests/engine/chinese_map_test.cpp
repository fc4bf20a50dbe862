// Tests of the character-by-character Simplified/Traditional mapping and its generated table.
#include "engine/chinese_map.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane {
namespace {

struct GbkPair {
    GbkCode from;
    GbkCode to;
};

#include "engine/data/st_characters.inc"

// glibc iconv, which the runtime uses too; the tests judge the table by the same code pages.
class Iconv {
  public:
    Iconv(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }

    // The converted text, or nothing when any character fails to convert.
    std::optional<std::string> operator()(std::string_view text) {
        if (!ok()) {
            return std::nullopt;
        }
        std::string out(text.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) != 0) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

  private:
    iconv_t cd_;
};

std::string Gbk(std::string_view utf8) {
    static Iconv toGbk("UTF-8", "CP936");
    std::optional<std::string> gbk = toGbk(utf8);
    EXPECT_TRUE(gbk.has_value()) << "GBK cannot hold " << utf8;
    return gbk.value_or("");
}

std::string Utf8(std::string_view gbk) {
    static Iconv fromGbk("CP936", "UTF-8");
    return fromGbk(gbk).value_or("(not GBK)");
}

bool Big5Holds(std::string_view utf8) {
    static Iconv toBig5("UTF-8", "CP950");
    return toBig5(utf8).has_value();
}

GbkCode CodeOf(std::string_view utf8Character) {
    const std::string gbk = Gbk(utf8Character);
    EXPECT_EQ(gbk.size(), 2u) << utf8Character;
    return gbk.size() == 2 ? static_cast<GbkCode>(static_cast<unsigned char>(gbk[0]) * 256 +
                                                  static_cast<unsigned char>(gbk[1]))
                           : 0;
}

std::string BytesOf(GbkCode code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

Bytes ToTraditional(std::string_view gbk) {
    Bytes out;
    MapToTraditional(gbk, out);
    return out;
}

Bytes ToSimplified(std::string_view gbk) {
    Bytes out;
    MapToSimplified(gbk, out);
    return out;
}

// --- Known characters and words --------------------------------------------------------

struct MapCase {
    const char* source; // UTF-8, converted to GBK by the test
    const char* expected;
};

// OpenCC's first candidate per character, so words that need a phrase come out wrong on
// purpose (头发 is 頭髮 in real text): this layer maps characters, the glossary mends words.
constexpr MapCase kToTraditional[] = {
    {"头", "頭"},     {"国家", "國家"}, {"头发", "頭發"}, {"皇后", "皇後"},
    {"干燥", "幹燥"}, {"台湾", "臺灣"}, {"面条", "面條"}, {"简体中文", "簡體中文"},
    {"软件", "軟件"}, {"这里", "這裏"},
};

constexpr MapCase kToSimplified[] = {
    {"頭", "头"},     {"國家", "国家"}, {"頭髮", "头发"},         {"乾燥", "干燥"},
    {"幹部", "干部"}, {"皇後", "皇后"}, {"臺灣", "台湾"},         {"麵條", "面条"},
    {"這裡", "这里"}, {"爲衆", "为众"}, {"繁體中文", "繁体中文"},
};

TEST(ChineseMapTest, MapsKnownWordsToTraditional) {
    for (const MapCase& c : kToTraditional) {
        EXPECT_EQ(Utf8(ToTraditional(Gbk(c.source))), c.expected) << c.source;
    }
}

TEST(ChineseMapTest, MapsKnownWordsToSimplified) {
    for (const MapCase& c : kToSimplified) {
        EXPECT_EQ(Utf8(ToSimplified(Gbk(c.source))), c.expected) << c.source;
    }
}

TEST(ChineseMapTest, SingleCharacterLookupsAgreeWithTheWalk) {
    EXPECT_EQ(TraditionalOf(CodeOf("国")), CodeOf("國"));
    EXPECT_EQ(SimplifiedOf(CodeOf("國")), CodeOf("国"));
    EXPECT_EQ(SimplifiedOf(CodeOf("髮")), CodeOf("发"));
    // No counterpart: the character itself, including codes that are not GBK at all.
    EXPECT_EQ(TraditionalOf(CodeOf("面")), CodeOf("面"));
    EXPECT_EQ(SimplifiedOf(CodeOf("国")), CodeOf("国"));
    EXPECT_EQ(TraditionalOf(0x4142), 0x4142);
    EXPECT_EQ(SimplifiedOf(0xFFFF), 0xFFFF);
}

// Where OpenCC's standard Traditional form is one BIG5 lacks, the table holds its Taiwan form,
// so a GBK-to-BIG5 conversion writes a character, not "?". Cases from the generator's log.
TEST(ChineseMapTest, PrefersTraditionalFormsThatBig5Holds) {
    struct Big5Case {
        const char* simplified;
        const char* traditional;
        const char* standardForm; // OpenCC's first candidate, which BIG5 lacks
    };
    constexpr Big5Case kCases[] = {
        {"为", "為", "爲"}, {"众", "眾", "衆"}, {"启", "啟", "啓"}, {"伪", "偽", "僞"},
        {"钵", "缽", "鉢"}, {"床", "床", "牀"}, {"群", "群", "羣"},
    };
    for (const Big5Case& c : kCases) {
        EXPECT_EQ(Utf8(BytesOf(TraditionalOf(CodeOf(c.simplified)))), c.traditional)
            << c.simplified;
        EXPECT_TRUE(Big5Holds(c.traditional)) << c.traditional;
        EXPECT_FALSE(Big5Holds(c.standardForm)) << c.standardForm;
        // The standard form still maps back, since GBK text may well contain it.
        EXPECT_EQ(SimplifiedOf(CodeOf(c.standardForm)), CodeOf(c.simplified)) << c.standardForm;
    }
}

// --- Bytes that are not Simplified or Traditional characters -------------------------------

TEST(ChineseMapTest, LeavesTextWithoutChineseCharactersAlone) {
    const char* const kTexts[] = {
        "Plain ASCII, 0123456789 ~!@#$%^&*()_+\t\r\n",
        "，。！？：；“”（）【】《》", // full-width punctuation
        "ひらがな カタカナ",          // Japanese kana
        "αβγδ АБВГД ①②③ ─│┌",         // Greek, Cyrillic, circled digits, box drawing
    };
    for (const char* text : kTexts) {
        const std::string gbk = Gbk(text);
        EXPECT_EQ(ToTraditional(gbk), gbk) << text;
        EXPECT_EQ(ToSimplified(gbk), gbk) << text;
    }
}

TEST(ChineseMapTest, HandlesOddBytesLikeTheCodePage) {
    const std::string tou = Gbk("头");
    const std::string touTraditional = Gbk("頭");
    struct ByteCase {
        std::string source;
        std::string expected;
        const char* what;
    };
    const ByteCase kCases[] = {
        {"", "", "empty text"},
        {tou + "\xB0", touTraditional + "\xB0", "a lone lead byte at the end is copied"},
        {std::string("\xB0", 1), std::string("\xB0", 1), "a text of one lead byte"},
        {tou + std::string(1, '\0') + tou, touTraditional + std::string(1, '\0') + touTraditional,
         "a NUL byte is kept and text after it mapped"},
        {"\x80" + tou + "\xFF", "\x80" + touTraditional + "\xFF", "0x80 and 0xFF stand alone"},
        // A lead byte takes the next byte as its trail whatever it is, so the pair hides the
        // character that would start there.
        {"\x81" + tou, "\x81" + tou, "a lead byte swallows the next lead byte"},
    };
    for (const ByteCase& c : kCases) {
        EXPECT_EQ(ToTraditional(c.source), c.expected) << c.what;
    }
}

TEST(ChineseMapTest, ReplacesTheDestinationAndMayWorkInPlace) {
    Bytes out = "left over from before, longer than the result";
    MapToSimplified(Gbk("國"), out);
    EXPECT_EQ(out, Gbk("国"));

    Bytes text = Gbk("头发");
    MapToTraditional(text, text);
    EXPECT_EQ(text, Gbk("頭發"));
}

// --- The generated table -------------------------------------------------------------------

struct TableCase {
    const char* name;
    std::span<const GbkPair> pairs;
    GbkCode (*lookup)(GbkCode);
};

const TableCase kTables[] = {
    {"Simplified to Traditional", kSimplifiedToTraditional, &TraditionalOf},
    {"Traditional to Simplified", kTraditionalToSimplified, &SimplifiedOf},
};

bool IsDoubleByteGbk(GbkCode code) {
    const unsigned lead = code >> 8;
    const unsigned trail = code & 0xFF;
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// Each code must be a character glibc's CP936 decodes and encodes back to the same bytes.
bool RoundTripsThroughCp936(GbkCode code) {
    static Iconv toGbk("UTF-8", "CP936");
    const std::string bytes = BytesOf(code);
    const std::string utf8 = Utf8(bytes);
    return utf8 != "(not GBK)" && toGbk(utf8) == bytes;
}

TEST(ChineseMapTableTest, IsSortedUniqueAndHoldsOnlyRealGbkCharacters) {
    for (const TableCase& table : kTables) {
        SCOPED_TRACE(table.name);
        // A cut-short generation would still pass the checks below; real tables are thousands.
        EXPECT_GT(table.pairs.size(), 2500u);
        for (std::size_t i = 0; i < table.pairs.size(); ++i) {
            const GbkPair& pair = table.pairs[i];
            SCOPED_TRACE(Utf8(BytesOf(pair.from)) + " -> " + Utf8(BytesOf(pair.to)));
            if (i > 0) {
                EXPECT_LT(table.pairs[i - 1].from, pair.from) << "unsorted or duplicate key";
            }
            EXPECT_NE(pair.from, pair.to);
            EXPECT_TRUE(IsDoubleByteGbk(pair.from));
            EXPECT_TRUE(IsDoubleByteGbk(pair.to));
            EXPECT_TRUE(RoundTripsThroughCp936(pair.from));
            EXPECT_TRUE(RoundTripsThroughCp936(pair.to));
        }
    }
}

TEST(ChineseMapTableTest, LookupChangesExactlyTheTablesKeys) {
    for (const TableCase& table : kTables) {
        SCOPED_TRACE(table.name);
        for (const GbkPair& pair : table.pairs) {
            EXPECT_EQ(table.lookup(pair.from), pair.to);
        }
        std::size_t changed = 0;
        for (unsigned code = 0; code <= 0xFFFF; ++code) {
            changed += table.lookup(static_cast<GbkCode>(code)) != code;
        }
        EXPECT_EQ(changed, table.pairs.size());
    }
}

TEST(ChineseMapTableTest, TraditionalFormsMostlyMapBack) {
    // Not all: several Simplified characters can share one Traditional form's way back
    // (鲇 → 鯰, but 鯰 → 鲶), so only the share is checked.
    std::size_t back = 0;
    for (const GbkPair& pair : kSimplifiedToTraditional) {
        back += SimplifiedOf(pair.to) == pair.from;
    }
    EXPECT_GE(back * 100, std::size(kSimplifiedToTraditional) * 98);
}

} // namespace
} // namespace morvane
