#include "platform/FileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/MessageText.h"
#include "tests/support/FailureText.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAreArray;

// Puts the process back into its current directory after a test that changes it.
class CurrentDirectoryGuard {
 public:
  ~CurrentDirectoryGuard() { fs::current_path(saved_); }

 private:
  fs::path saved_ = fs::current_path();
};

// Names with a byte that starts a double-byte character and nothing after it: such a CP932
// path has no UTF-8 form, but the same byte is a valid name on disk.
constexpr char kLoneLeadByte[] = "\x81";

TEST(FileSystemTest, FileExistsOnlyForRegularFiles) {
  TempFolder folder;
  folder.Write("memo.txt", "x");
  folder.Write("真鯛.txt", "x");
  folder.Write(kLoneLeadByte, "x");
  fs::create_directory(folder.Path("old"));
  fs::create_symlink("memo.txt", folder.Path("to-file"));
  fs::create_symlink("old", folder.Path("to-folder"));
  fs::create_symlink("gone", folder.Path("dangling"));
  const std::vector<std::pair<std::string, bool>> cases = {
      {"memo.txt", true},   {Cp932("真鯛.txt"), true}, {"to-file", true},  {"old", false},
      {"to-folder", false}, {"dangling", false},       {"missing", false}, {kLoneLeadByte, false},
  };
  for (const auto& [name, exists] : cases) {
    EXPECT_EQ(files::FileExists(folder.Path(name)), exists) << name;
  }
}

TEST(FileSystemTest, ReadsWholeFiles) {
  TempFolder folder;
  std::string large(300001, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i * 7 % 251);
  }
  const std::vector<std::string> contents = {"", "abc", std::string("\0\xFF\r\n\x1A", 5), large};
  for (const std::string& bytes : contents) {
    folder.Write("data", bytes);
    EXPECT_EQ(files::ReadWholeFile(folder.Path("data")).View(), bytes) << bytes.size();
  }
  folder.Write("真鯛.txt", "tai");
  EXPECT_EQ(files::ReadWholeFile(folder.Path(Cp932("真鯛.txt"))).View(), "tai");
}

TEST(FileSystemTest, ReadFailsForWhatIsNoReadableFile) {
  TempFolder folder;
  fs::create_directory(folder.Path("old"));
  fs::create_symlink("gone", folder.Path("dangling"));
  ASSERT_EQ(mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  folder.Write(kLoneLeadByte, "x");
  for (const std::string name : {"missing", "old", "dangling", "pipe", kLoneLeadByte}) {
    const std::string path = folder.Path(name);
    EXPECT_EQ(FailureText([&] { files::ReadWholeFile(path); }),
              Cp932("ファイル ") + path + Cp932(" は開けません"))
        << name;
  }
}

TEST(FileSystemTest, ReadFailsWithoutPermission) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempFolder folder;
  folder.Write("secret", "x");
  fs::permissions(folder.Path("secret"), fs::perms::none);
  EXPECT_NE(FailureText([&] { files::ReadWholeFile(folder.Path("secret")); }), "(no failure)");
}

TEST(FileSystemTest, ChangesAndReportsTheCurrentDirectory) {
  TempFolder folder;
  const CurrentDirectoryGuard guard;
  fs::create_directory(folder.Path("真鯛"));
  const std::string path = folder.Path(Cp932("真鯛"));
  files::SetCurrentDirectory(path);
  EXPECT_EQ(files::CurrentDirectory(), path);
  files::SetCurrentDirectory("..");
  EXPECT_EQ(files::CurrentDirectory(), folder.Path());
}

TEST(FileSystemTest, CurrentDirectoryWithoutCp932FormFails) {
  TempFolder folder;
  const CurrentDirectoryGuard guard;
  fs::create_directory(folder.Path("\U0001F41F"));
  fs::current_path(folder.Path("\U0001F41F"));
  EXPECT_EQ(FailureText(files::CurrentDirectory), "I/O error " + std::to_string(EILSEQ));
}

TEST(FileSystemTest, ChangeDirectoryFailuresAreNamed) {
  TempFolder folder;
  const CurrentDirectoryGuard guard;
  folder.Write("memo.txt", "x");
  fs::create_directory(folder.Path(kLoneLeadByte));
  fs::create_symlink("loop", folder.Path("loop"));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "File not found"},
      {folder.Path("missing"), "File not found"},
      {folder.Path("memo.txt/sub"), "Invalid filename"},
      {folder.Path(std::string(300, 'a')), "Invalid filename"},
      {folder.Path(kLoneLeadByte), "Invalid filename"},
      {folder.Path("loop"), "I/O error " + std::to_string(ELOOP)},
  };
  const fs::path before = fs::current_path();
  for (const auto& [path, text] : cases) {
    EXPECT_EQ(FailureText([&] { files::SetCurrentDirectory(path); }), text) << path;
    EXPECT_EQ(fs::current_path(), before);
  }
}

TEST(FileSystemTest, ChangeDirectoryDeniedIsNamed) {
  if (geteuid() == 0) GTEST_SKIP() << "root enters every folder";
  TempFolder folder;
  const CurrentDirectoryGuard guard;
  fs::create_directory(folder.Path("closed"));
  fs::permissions(folder.Path("closed"), fs::perms::none);
  EXPECT_EQ(FailureText([&] { files::SetCurrentDirectory(folder.Path("closed")); }),
            "File access denied");
  fs::permissions(folder.Path("closed"), fs::perms::owner_all);
}

TEST(FileSystemTest, SearchesFolderByExtension) {
  TempFolder folder;
  for (const std::string name :
       {"Tai.jpeg", "aji.JPEG", "saba.jpg", "memo.txt", ".h.jpeg", "\U0001F41F.jpeg", "\xFF.jpeg",
        "\u00A5.jpeg", "真鯛.jpeg", "a.ア", "b.ヂ"}) {
    folder.Write(name, "x");
  }
  fs::create_directory(folder.Path("old.jpeg"));
  fs::create_symlink("memo.txt", folder.Path("link.jpeg"));
  fs::create_symlink("old.jpeg", folder.Path("folder-link.jpeg"));
  fs::create_symlink("gone", folder.Path("dangling.jpeg"));
  const std::string tai = Cp932("真鯛.jpeg");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"*.*",
       {"Tai.jpeg", "aji.JPEG", "saba.jpg", "memo.txt", tai, "link.jpeg", Cp932("a.ア"),
        Cp932("b.ヂ")}},
      {"*.jpeg", {"Tai.jpeg", "aji.JPEG", tai, "link.jpeg"}},
      {"*.JPG", {"saba.jpg"}},
      {Cp932("*.ア"), {Cp932("a.ア")}},  // ア and ヂ differ only in a trail byte's letter case
      {"*.peg", {}},
      {"*.png", {}},
      {"jpeg", {}},
  };
  for (const auto& [mask, names] : cases) {
    EXPECT_THAT(files::SearchFolder(folder.Path(), mask), UnorderedElementsAreArray(names)) << mask;
  }
}

TEST(FileSystemTest, SearchFailuresAreNamed) {
  TempFolder folder;
  folder.Write("memo.txt", "x");
  fs::create_directory(folder.Path(kLoneLeadByte));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {folder.Path("missing"), "File not found"},
      {folder.Path("memo.txt"), "Invalid filename"},
      {folder.Path(kLoneLeadByte), "Invalid filename"},
  };
  for (const auto& [path, text] : cases) {
    EXPECT_EQ(FailureText([&] { files::SearchFolder(path, "*.*"); }), text) << path;
  }
}

TEST(FileSystemTest, RenamesWithoutReplacing) {
  struct Case {
    std::string folder;  // "@" stands for the test folder, which is also the current one
    std::string from;
    std::string to;
    bool renamed;
    std::vector<std::string> namesAfter;
  };
  const std::vector<Case> cases = {
      {"@", "a.txt", "c.txt", true, {"b.txt", "c.txt", "sub", "真鯛.txt"}},
      {"@/", "a.txt", "c.txt", true, {"b.txt", "c.txt", "sub", "真鯛.txt"}},
      {"", "a.txt", "c.txt", true, {"b.txt", "c.txt", "sub", "真鯛.txt"}},  // the current one
      {"/nowhere", "@/a.txt", "@/c.txt", true, {"b.txt", "c.txt", "sub", "真鯛.txt"}},
      {"@", "a.txt", "sub/a.txt", true, {"b.txt", "sub", "真鯛.txt"}},
      {"@", "sub", "dir", true, {"a.txt", "b.txt", "dir", "真鯛.txt"}},
      {"@", Cp932("真鯛.txt"), Cp932("鯛.txt"), true, {"a.txt", "b.txt", "sub", "鯛.txt"}},
      {"@", "a.txt", "b.txt", false, {"a.txt", "b.txt", "sub", "真鯛.txt"}},
      {"@", "a.txt", "sub", false, {"a.txt", "b.txt", "sub", "真鯛.txt"}},
      {"@", "missing", "c.txt", false, {"a.txt", "b.txt", "sub", "真鯛.txt"}},
      {"@", "", "c.txt", false, {"a.txt", "b.txt", "sub", "真鯛.txt"}},
      {"@", "a.txt", "", false, {"a.txt", "b.txt", "sub", "真鯛.txt"}},
  };
  const CurrentDirectoryGuard guard;
  for (const Case& c : cases) {
    TempFolder folder;
    folder.Write("a.txt", "A");
    folder.Write("b.txt", "B");
    folder.Write("真鯛.txt", "T");
    fs::create_directory(folder.Path("sub"));
    fs::current_path(folder.Path());
    const auto place = [&](std::string text) {
      if (text.starts_with('@')) text.replace(0, 1, folder.Path());
      return text;
    };
    EXPECT_EQ(files::RenameWithoutReplacing(place(c.folder), place(c.from), place(c.to)), c.renamed)
        << c.from << " -> " << c.to;
    EXPECT_EQ(folder.Names(), c.namesAfter) << c.from << " -> " << c.to;
    if (!c.renamed) {
      EXPECT_EQ(folder.Read("b.txt"), "B");
    }
  }
}

TEST(FileSystemTest, KnowsTheExecutable) {
  const std::string path = files::ExecutablePath();
  EXPECT_EQ(path, fs::canonical("/proc/self/exe").string());
  EXPECT_TRUE(path.ends_with("/platform_tests"));
  EXPECT_TRUE(files::FileExists(path));
}

}  // namespace
