#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "tests/support/FailureText.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class UmaskGuard {
 public:
  explicit UmaskGuard(mode_t mask) : saved_(umask(mask)) {}
  ~UmaskGuard() { umask(saved_); }

 private:
  mode_t saved_;
};

// Lets no file grow beyond `limit` bytes: write() then fails with EFBIG instead of the
// process being killed by SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) : savedHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
  }

 private:
  void (*savedHandler_)(int);
  rlimit saved_{};
};

std::string CannotCreate(const std::string& path) {
  return Cp932("ファイル ") + path + Cp932(" を作成できません");
}

TEST(SafeWriteTest, NewFileGetsDefaultPermissions) {
  const std::vector<std::pair<mode_t, mode_t>> cases = {{022, 0644}, {027, 0640}, {077, 0600}};
  for (const auto& [mask, mode] : cases) {
    TempFolder folder;
    const UmaskGuard guard(mask);
    files::WriteWholeFile(folder.Path(Cp932("真鯛.txt")), "tai");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"真鯛.txt"});
    EXPECT_EQ(folder.Read("真鯛.txt"), "tai");
    EXPECT_EQ(folder.Mode("真鯛.txt"), mode) << std::oct << mask;
  }
}

TEST(SafeWriteTest, ReplacesContentsAndKeepsPermissions) {
  std::string large(1 << 20, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i % 253);
  }
  const std::vector<std::pair<mode_t, std::string>> cases = {
      {0640, "new"}, {0666, ""}, {0600, std::string("\0\xFF", 2)}, {0604, large}};
  const UmaskGuard guard(077);
  for (const auto& [mode, bytes] : cases) {
    TempFolder folder;
    folder.Write("log.dat", "previous contents");
    chmod(folder.Path("log.dat").c_str(), mode);
    files::WriteWholeFile(folder.Path("log.dat"), bytes);
    EXPECT_EQ(folder.Read("log.dat"), bytes);
    EXPECT_EQ(folder.Mode("log.dat"), mode) << std::oct << mode;
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"log.dat"});
  }
}

TEST(SafeWriteTest, WritesThroughSymbolicLinks) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> links;  // link, where it points
    std::string written;
    std::string target;
  };
  const std::vector<Case> cases = {
      {{{"link", "data.txt"}}, "link", "data.txt"},
      {{{"second", "first"}, {"first", "data.txt"}}, "second", "data.txt"},
      {{{"a/link", "../b/data.txt"}}, "a/link", "b/data.txt"},
      {{{"a/link", "@/b/data.txt"}}, "a/link", "b/data.txt"},
      {{{"dangling", "b/new.txt"}}, "dangling", "b/new.txt"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    fs::create_directory(folder.Path("a"));
    fs::create_directory(folder.Path("b"));
    folder.Write("data.txt", "old");
    folder.Write("b/data.txt", "old");
    for (auto [link, pointee] : c.links) {
      if (pointee.starts_with('@')) pointee.replace(0, 1, folder.Path());
      fs::create_symlink(pointee, folder.Path(link));
    }
    files::WriteWholeFile(folder.Path(c.written), "new");
    EXPECT_EQ(folder.Read(c.target), "new") << c.written;
    for (const auto& link : c.links) {
      EXPECT_TRUE(fs::is_symlink(folder.Path(link.first))) << link.first;
    }
    for (const std::string subfolder : {".", "a", "b"}) {
      for (const std::string& name : folder.Names(subfolder)) {
        EXPECT_FALSE(name.starts_with('.')) << c.written << ": " << subfolder << "/" << name;
      }
    }
  }
}

TEST(SafeWriteTest, FailureLeavesThePreviousFileAlone) {
  const std::vector<std::string> cases = {
      "read-only.txt", "via-link.txt", "old", "missing/x.txt", "loop", "old/", "\x81",
  };
  for (const std::string& name : cases) {
    TempFolder folder;
    folder.Write("read-only.txt", "previous");
    chmod(folder.Path("read-only.txt").c_str(), 0444);
    fs::create_symlink("read-only.txt", folder.Path("via-link.txt"));
    fs::create_directory(folder.Path("old"));
    fs::create_symlink("loop", folder.Path("loop"));
    const std::vector<std::string> before = folder.Names();
    const std::string path = folder.Path(name);
    EXPECT_EQ(FailureText([&] { files::WriteWholeFile(path, "new"); }), CannotCreate(path));
    EXPECT_EQ(folder.Names(), before) << name;
    EXPECT_EQ(folder.Read("read-only.txt"), "previous") << name;
  }
}

TEST(SafeWriteTest, AnotherCopyHoldingTheFileKeepsOthersOut) {
  struct Case {
    int lock;
    bool readable;
  };
  for (const Case c : {Case{LOCK_EX, false}, Case{LOCK_SH, true}}) {
    TempFolder folder;
    folder.Write("log.dat", "previous");
    const std::string path = folder.Path("log.dat");
    const int other = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(other, c.lock | LOCK_NB), 0);
    EXPECT_EQ(FailureText([&] { files::ReadWholeFile(path); }),
              c.readable ? "(no failure)" : Cp932("ファイル ") + path + Cp932(" は開けません"));
    EXPECT_EQ(FailureText([&] { files::WriteWholeFile(path, "new"); }), CannotCreate(path));
    EXPECT_EQ(folder.Read("log.dat"), "previous");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"log.dat"});
    close(other);
    files::WriteWholeFile(path, "new");
    EXPECT_EQ(folder.Read("log.dat"), "new");
  }
}

TEST(SafeWriteTest, WriteFailingHalfWayLeavesThePreviousFileAlone) {
  TempFolder folder;
  const std::string previous(10000, 'p');
  folder.Write("log.dat", previous);
  const std::string path = folder.Path("log.dat");
  std::string failure;
  {
    const FileSizeLimit limit(4096);
    failure = FailureText([&] { files::WriteWholeFile(path, std::string(100000, 'n')); });
  }
  EXPECT_EQ(failure, CannotCreate(path));
  EXPECT_EQ(folder.Read("log.dat"), previous);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"log.dat"});
}

}  // namespace
