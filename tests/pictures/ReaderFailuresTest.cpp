#include <gtest/gtest.h>

#include <string>

#include "pictures/PictureControl.h"
#include "platform/MessageText.h"
#include "tests/pictures/PictureTestSupport.h"
#include "tests/support/FailureText.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace picture_test;

struct Fixture {
  std::string name, bytes, message;  // message in UTF-8
};

// A 2 x 1 bitmap shown before each failing load.
const std::string kShownBefore = BitmapFile(2, 1, 24, Bytes({0, 0, 255, 0, 255, 0, 0, 0}));

std::string PlaneCount(int planes) {
  std::string file = BitmapFile(1, 1, 24, std::string(4, '\0'));
  file.replace(26, 2, U16(planes));
  return file;
}

TEST(ReaderFailures, EachReaderFailsWithItsMessageAndTheOldPictureStays) {
  const std::string header = BitmapFile(1, 1, 24, std::string(4, '\0'));
  const Fixture fixtures[] = {
      {"text.bmp", "not a picture, only some text\r\n", "ビットマップイメージが不正です"},
      {"short.bmp", header.substr(0, 10), "ストリームからの読み込みエラー"},
      {"header.bmp", header.substr(0, 30), "ストリームからの読み込みエラー"},
      {"pixels.bmp", header.substr(0, header.size() - 1), "ストリームからの読み込みエラー"},
      {"planes.bmp", PlaneCount(2), "ビットマップイメージが不正です"},
      {"depth.bmp", BitmapFile(1, 1, 2, std::string(4, '\0')), "ビットマップイメージが不正です"},
      {"huge.bmp", BitmapFile(100000, 100000, 24, ""),
       "System Error.  Code: 12.\r\nCannot allocate memory"},
      {"oneline.bmp", BitmapFile(300000000, 1, 24, ""),
       "System Error.  Code: 12.\r\nCannot allocate memory"},
      {"text.jpeg", "not a picture, only some text\r\n", "JPEG エラー #53"},
      {"soi.jpg", Bytes({0xFF, 0xD8}), "JPEG エラー #51"},
      {"short.ico", Bytes({0, 0, 1}), "ストリームからの読み込みエラー"},
      {"empty.ico", "", "ストリームからの読み込みエラー"},
      {"cursor.ico", Bytes({0, 0, 2, 0, 0, 0}), "アイコンイメージが不正です"},
      {"text.wmf", "not a picture, only some text\r\n", "メタファイルが不正です"},
      {"short.wmf", Bytes({0xD7, 0xCD, 0xC6, 0x9A, 0, 0}), "ストリームからの読み込みエラー"},
      {"sum.wmf", U32(0x9AC6CDD7) + std::string(18, '\0') + std::string(18, '\x01'),
       "メタファイルが不正です"},
      {"text.emf", std::string(200, 'x'), "メタファイルが不正です"},
      {"tai.PNG", "", "拡張子 .PNG の画像形式は処理できません"},
  };
  const TempFolder folder;
  folder.Write("before.bmp", kShownBefore);
  for (const Fixture& f : fixtures) {
    folder.Write(f.name, f.bytes);
    PictureControl control;
    control.Picture().LoadFromFile(folder.Path("before.bmp"));
    EXPECT_EQ(FailureText([&] { control.Picture().LoadFromFile(folder.Path(f.name)); }),
              Cp932(f.message))
        << f.name;
    EXPECT_EQ(control.Picture().Width(), 2) << f.name;
    EXPECT_EQ(control.Picture().Height(), 1) << f.name;
  }
}

TEST(ReaderFailures, AFileThatCannotBeOpenedIsNamedAsPassed) {
  const TempFolder folder;
  PictureControl control;
  for (const std::string name : {"none.jpeg", "none.bmp", "folder.ico"}) {
    const std::string path = folder.Path(name);
    if (name == "folder.ico") std::filesystem::create_directory(path);
    EXPECT_EQ(FailureText([&] { control.Picture().LoadFromFile(path); }),
              Cp932("ファイル ") + path + Cp932(" は開けません"));
  }
  EXPECT_TRUE(control.Picture().Empty());
}

TEST(ReaderFailures, EmptyFilesOfSomeKindsLoadAsEmptyPictures) {
  const Fixture fixtures[] = {
      {"empty.bmp", "", ""},
      {"empty.jpg", "", ""},
      {"none.ico", Bytes({0, 0, 1, 0, 0, 0}), ""},
      {"type0.ico", Bytes({0, 0, 0, 0, 0, 0}), ""},
  };
  const TempFolder folder;
  for (const Fixture& f : fixtures) {
    folder.Write(f.name, f.bytes);
    PictureControl control;
    EXPECT_EQ(FailureText([&] { control.Picture().LoadFromFile(folder.Path(f.name)); }),
              "(no failure)")
        << f.name;
    EXPECT_FALSE(control.Picture().Empty()) << f.name;
    EXPECT_EQ(control.Picture().Width(), 0) << f.name;
    EXPECT_EQ(control.Picture().Height(), 0) << f.name;
  }
}

// Whether any descriptor of this process refers to `path`.
bool HeldOpen(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(entry.path(), ignored) == path) return true;
  }
  return false;
}

TEST(ReaderFailures, ALoadedPictureKeepsNoFileOpen) {
  const TempFolder folder;
  folder.Write("tai.bmp", kShownBefore);
  folder.Write("tai.jpg", Bytes({0xFF, 0xD8, 0xFF}));
  folder.Write("tai.ico", Bytes({0, 0, 1, 0, 0, 0}));
  PictureControl control;
  for (const std::string name : {"tai.bmp", "tai.jpg", "tai.ico"}) {
    const std::string path = folder.Path(name);
    FailureText([&] { control.Picture().LoadFromFile(path); });
    EXPECT_FALSE(HeldOpen(path)) << name;
  }
}

}  // namespace
