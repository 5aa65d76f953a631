#include "platform/MessageText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MessageTextTest, ConvertsProgramTextToCp932) {
  EXPECT_EQ(Cp932("ファイル %s"), "\x83\x74\x83\x40\x83\x43\x83\x8B %s");
  EXPECT_EQ(Cp932("I/O error"), "I/O error");
}

TEST(MessageTextDeathTest, ProgramTextWithoutCp932FormIsAProgrammingError) {
  EXPECT_DEATH(Cp932("\U0001F41F"), "without a CP932 form");
}

TEST(MessageTextTest, FillsPlaceholdersInOrder) {
  struct Case {
    std::string pattern;
    std::vector<std::string> args;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"%s and %d", {"a", "7"}, "a and 7"},
      {"%d%s", {"1", "2"}, "12"},
      {"[%s]", {}, "[]"},
      {"%s, %s", {"x"}, "x, "},
      {"%s", {"a", "b"}, "a"},
      {"100%%", {"x"}, "100%"},
      {"%%s", {"x"}, "%s"},
      {"%s%s", {"%s", "b"}, "%sb"},  // arguments are not scanned again
      {"%x %", {"a"}, "%x %"},
      {"\x83\x74 %s \x82\xCD", {"\x90\x5E"}, "\x83\x74 \x90\x5E \x82\xCD"},
  };
  for (const Case& c : cases) {
    std::string result;
    switch (c.args.size()) {
      case 0:
        result = FormatText(c.pattern, {});
        break;
      case 1:
        result = FormatText(c.pattern, {c.args[0]});
        break;
      case 2:
        result = FormatText(c.pattern, {c.args[0], c.args[1]});
        break;
    }
    EXPECT_EQ(result, c.expected) << c.pattern;
  }
}

}  // namespace
