#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct TrailCase {
  std::string text;
  std::string trails;  // 'T' under each byte that is a trail byte
};

TEST(CodePageTest, FindsTrailBytesFromTheStart) {
  const std::vector<TrailCase> cases = {
      {"a\x83\x41z", "..T."},
      {"\x83\\\\", ".T."},           // ソ and a backslash
      {"\x83\x83\x41", ".T."},       // the lead-valued trail byte 0x83 is followed by a letter
      {"\x83\x83\x83\x41", ".T.T"},  // the same byte value as lead and as trail
      {"ab\x83", "..."},             // a lead byte at the end stands alone
      {"\xB1\x83\x41", "..T"},       // half-width katakana is a single byte
  };
  for (const TrailCase& c : cases) {
    for (std::size_t pos = 0; pos < c.text.size(); ++pos) {
      EXPECT_EQ(cp932::IsTrailByteAt(c.text, pos), c.trails[pos] == 'T') << c.text << " @" << pos;
    }
    EXPECT_FALSE(cp932::IsTrailByteAt(c.text, c.text.size() + 3));
  }
}

TEST(CodePageTest, CutsWithoutSplittingCharacters) {
  struct Case {
    std::string text;
    std::size_t width;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"abc", 2, "ab"},
      {"abc", 9, "abc"},
      {"abc", 0, ""},
      {"a\x83\x41", 2, "a"},
      {"a\x83\x41", 3, "a\x83\x41"},
      {"\x83\x83\x41z", 3, "\x83\x83\x41"},
      {"\x83\x83\x41z", 1, ""},
      {"ab\x83", 3, "ab\x83"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp932::CutToWidth(c.text, c.width), c.expected) << c.text << " / " << c.width;
  }
}

TEST(CodePageTest, LowersOnlySingleByteLetters) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"@AZ[`az{", "@az[`az{"},
      // ア keeps its trail byte 0x41
      {"\x83\x41Z", "\x83\x41z"},
      {"\x83\x83Q", "\x83\x83q"},
      // half-width katakana are not letters
      {"\xC1\xDA", "\xC1\xDA"},
      {"X\x83", "x\x83"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(cp932::ToLower(text), expected) << text;
  }
}

TEST(CodePageTest, ComparesIgnoringLetterCaseOnly) {
  struct Case {
    std::string a;
    std::string b;
    int sign;
  };
  const std::vector<Case> cases = {
      {"", "", 0},
      {"Tai.JPEG", "tai.jpeg", 0},
      {"abc", "abd", -1},
      {"ab", "ABC", -1},
      {"[", "a", -1},                // folding goes to lower case
      {"\x83\x41", "\x83\x61", -1},  // ア and ヂ differ in a trail byte only
      {"\x83\x41Z", "\x83\x41z", 0},
      {"\xE0\x40", "z", 1},  // bytes compare unsigned
      {"\x83", "\x83\x41", -1},
  };
  for (const Case& c : cases) {
    const int forward = cp932::CompareText(c.a, c.b);
    const int backward = cp932::CompareText(c.b, c.a);
    EXPECT_EQ((forward > 0) - (forward < 0), c.sign) << c.a << " : " << c.b;
    EXPECT_EQ((backward > 0) - (backward < 0), -c.sign) << c.b << " : " << c.a;
    EXPECT_EQ(cp932::SameText(c.a, c.b), c.sign == 0) << c.a << " : " << c.b;
  }
}

TEST(CodePageTest, ConvertsKnownCharactersBothWays) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\\~", "\\~"},
      {"\x83\x41", "ア"},
      {"\x90\x5E\x91\xE2", "真鯛"},
      {"\x81\x60", "～"},  // U+FF5E, not the wave dash
      {"\x81\x7C", "－"},  // U+FF0D, not the minus sign
      {"\x81\x5C", "―"},
      {"\xB1\xDF", "ｱﾟ"},
      {"\x87\x40", "①"},
      {"\xFA\x40", "ⅰ"},
  };
  for (const auto& [text, utf8] : cases) {
    EXPECT_EQ(cp932::ToUtf8(text), utf8) << utf8;
    EXPECT_EQ(cp932::FromUtf8(utf8), text) << utf8;
  }
}

TEST(CodePageTest, RefusesBytesThatAreNoCharacters) {
  const std::vector<std::string> cases = {
      "\x81", "a\x81", "\x81 ", "\x81\x7F", "\x85\x40", "\x80", "\xA0", "\xFD", "\xFF",
  };
  for (const std::string& text : cases) {
    EXPECT_EQ(cp932::ToUtf8(text), std::nullopt) << text;
  }
}

TEST(CodePageTest, RefusesUtf8WithoutCp932Form) {
  const std::vector<std::string> cases = {
      "\xFF",
      "\xC0\xAF",      // an overlong '/'
      "\xED\xA0\x80",  // a surrogate
      "\xE3\x82",      // a cut character
      "a\U0001F41F",
      // characters the C library maps one way only, onto other characters or onto nothing
      "\u00A5",
      "\u203E",
      "\u301C",
      "\u2212",
      "\u2014",
      "\u00A2",
      "\U000E0001",
  };
  for (const std::string& utf8 : cases) {
    EXPECT_EQ(cp932::FromUtf8(utf8), std::nullopt) << utf8;
  }
}

// Every code that decodes: the character comes back through CP932, and so do the bytes,
// except for codes that repeat a character of another code.
TEST(CodePageTest, EveryCharacterRoundTrips) {
  const std::map<int, int> duplicates = {
      {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
      {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE}, {0xFA4A, 0x8754},
      {0xFA4B, 0x8755}, {0xFA4C, 0x8756}, {0xFA4D, 0x8757}, {0xFA4E, 0x8758}, {0xFA4F, 0x8759},
      {0xFA50, 0x875A}, {0xFA51, 0x875B}, {0xFA52, 0x875C}, {0xFA53, 0x875D}, {0xFA54, 0x81CA},
      {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6},
  };
  std::vector<int> codes;
  for (int b = 0; b <= 0xFF; ++b) {
    codes.push_back(b);
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0; trail <= 0xFF; ++trail) {
      codes.push_back(lead << 8 | trail);
    }
  }
  std::map<std::string, int> decoded;  // counted by row range
  for (const int code : codes) {
    std::string bytes;
    if (code > 0xFF) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    const std::optional<std::string> utf8 = cp932::ToUtf8(bytes);
    if (!utf8) continue;
    ASSERT_FALSE(utf8->empty()) << std::hex << code;
    const std::optional<std::string> back = cp932::FromUtf8(*utf8);
    ASSERT_TRUE(back) << std::hex << code;
    EXPECT_EQ(cp932::ToUtf8(*back), utf8) << std::hex << code;

    // NEC-selected codes come back as the IBM codes of their characters.
    if (code >= 0xED40 && code <= 0xEEFC) {
      ++decoded["NEC-selected"];
    } else {
      const auto duplicate = duplicates.find(code);
      const int canonical = duplicate == duplicates.end() ? code : duplicate->second;
      std::string canonicalBytes;
      if (canonical > 0xFF) canonicalBytes += static_cast<char>(canonical >> 8);
      canonicalBytes += static_cast<char>(canonical & 0xFF);
      EXPECT_EQ(*back, canonicalBytes) << std::hex << code;
    }
    if (code >= 0xA1 && code <= 0xDF) ++decoded["half-width"];
    if (code >= 0x8740 && code <= 0x879C) ++decoded["NEC row 13"];
    if (code >= 0xFA40 && code <= 0xFC4B) ++decoded["IBM"];
    ++decoded["all"];
  }
  EXPECT_EQ(decoded["half-width"], 63);
  EXPECT_EQ(decoded["NEC row 13"], 83);
  EXPECT_EQ(decoded["NEC-selected"], 374);
  EXPECT_EQ(decoded["IBM"], 388);
  // Single bytes, the JIS rows, the three extension ranges and the user-defined rows.
  EXPECT_EQ(decoded["all"], 191 + 6879 + 83 + 374 + 388 + 1880);
}

}  // namespace
