#include <gtest/gtest.h>

#include "pictures/PictureKinds.h"
#include "platform/MessageText.h"
#include "tests/support/FailureText.h"

TEST(PictureKinds, ExtensionSelectsTheKindInAnyLetterCase) {
  struct Case {
    std::string path;
    PictureKind kind;
  };
  const Case cases[] = {
      {"/p/Tai.JPG", PictureKind::Jpeg},        {"/p/tai.Jpeg", PictureKind::Jpeg},
      {"/p/a.bmp", PictureKind::Bitmap},        {"/p/a.ICO", PictureKind::Icon},
      {"/p/a.wmf", PictureKind::Metafile},      {"/p/a.Emf", PictureKind::Metafile},
      {Cp932("/p/ソ.jpeg"), PictureKind::Jpeg},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PictureKindOf(c.path), c.kind) << c.path;
}

TEST(PictureKinds, AnUnknownExtensionFailsWithItAsWritten) {
  struct Case {
    std::string path, extension;
  };
  const Case cases[] = {
      {"/p/tai.jpeg.bak", "bak"},
      {"/p/Tai.PNG", "PNG"},
      {"/p/Pic.Data/tai", ""},
      {"/p/PicData/", ""},
      {"", ""},
      {"/p/a.", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureText([&] { PictureKindOf(c.path); }),
              Cp932("拡張子 .") + c.extension + Cp932(" の画像形式は処理できません"))
        << c.path;
  }
}
