#include "app/ApplicationTitle.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/MessageText.h"

namespace {

TEST(ApplicationTitle, IsTheFileNameBeforeItsFirstDotInLowerCaseAfterItsFirstCharacter) {
  struct Case {
    std::string path, title;
  };
  const Case cases[] = {
      {"TARNWICK.EXE", "Tarnwick"},
      {"my.catch.log.exe", "my"},
      {"/usr/local/bin/TARNWICK", "Tarnwick"},
      {"/opt/v1.2/TARNWICK.EXE", "Tarnwick"},  // a dot in a folder does not count
      {"/opt/tARNWICK", "tarnwick"},           // the first character is left as it is
      // ソ and 表 end in 0x5C, ア in 0x41: bytes of double-byte characters are never folded,
      // and a double-byte first character is kept whole.
      {Cp932("/opt/ソフト/ソFT表.EXE"), Cp932("ソft表")},
      {Cp932("/opt/アBC.exe"), Cp932("アbc")},
      {Cp932("/opt/TアB"), Cp932("Tアb")},
      {"", ""},
      {"/usr/bin/", ""},
      {"/usr/bin/.hidden", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplicationTitleOf(c.path), c.title) << c.path;
  }
}

TEST(ApplicationTitle, OfTheRunningProgramIsFixedOnce) {
  EXPECT_EQ(ApplicationTitle(), ApplicationTitleOf(files::ExecutablePath()));
  EXPECT_EQ(ApplicationTitle(), "app_tests");
  EXPECT_EQ(&ApplicationTitle(), &ApplicationTitle());
}

}  // namespace
