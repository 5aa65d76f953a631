#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "platform/PosixFile.h"

namespace files {
namespace {

using posix::UniqueFd;

constexpr int kMaxLinksFollowed = 40;  // the kernel's own limit within one path

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// The file a path really names: symbolic links are followed, a chain of them and a dangling
// one too, relative targets being taken from the link's folder. nullopt for a loop or an
// unreadable step.
std::optional<std::string> ResolveLinks(std::string path) {
  for (int followed = 0;; ++followed) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) {
      return errno == ENOENT ? std::optional(path) : std::nullopt;
    }
    if (!S_ISLNK(status.st_mode)) return path;
    const std::optional<std::string> target = posix::ReadSymbolicLink(path);
    if (followed == kMaxLinksFollowed || !target) return std::nullopt;
    path = target->starts_with('/') ? *target : FolderOf(path) + "/" + *target;
  }
}

// umask() can only be read by setting it, which would race other threads creating files.
mode_t ProcessUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("Umask:")) {
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

// A hidden file beside the target, removed again unless it was renamed into the target's place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : path_(FolderOf(target) + "/." + NameOf(target) + ".XXXXXX"),
        fd_(mkostemp(path_.data(), O_CLOEXEC)),
        exists_(fd_.IsOpen()) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (exists_) unlink(path_.c_str());
  }

  bool IsOpen() const { return fd_.IsOpen(); }
  int Fd() const { return fd_.Get(); }
  bool Close() { return fd_.Close(); }
  bool RenameTo(const std::string& target) {
    if (rename(path_.c_str(), target.c_str()) != 0) return false;
    exists_ = false;
    return true;
  }

 private:
  std::string path_;
  UniqueFd fd_;
  bool exists_;
};

void SyncFolder(const std::string& folder) {
  const UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.IsOpen()) fsync(dir.Get());
}

bool TryWriteWholeFile(std::string_view path, std::string_view bytes) {
  const std::optional<std::string> systemPath = cp932::ToUtf8(path);
  if (!systemPath) return false;
  const std::optional<std::string> target = ResolveLinks(*systemPath);
  if (!target || NameOf(*target).empty()) return false;

  // The previous file stays locked until the new one has taken its place, so no other copy of
  // the program reads or saves it in between.
  const UniqueFd previous(open(target->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  mode_t mode = 0;
  if (previous.IsOpen()) {
    struct stat status;
    if (fstat(previous.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    // access() grants root everything, so a file without any write bit counts as read-only too.
    if ((status.st_mode & 0222) == 0 || access(target->c_str(), W_OK) != 0) return false;
    if (flock(previous.Get(), LOCK_EX | LOCK_NB) != 0) return false;
    mode = status.st_mode & 07777;
  } else if (errno == ENOENT) {
    mode = 0666 & ~ProcessUmask();
  } else {
    return false;
  }

  TemporaryFile temporary(*target);
  if (!(temporary.IsOpen() && WriteAll(temporary.Fd(), bytes) &&
        fchmod(temporary.Fd(), mode) == 0 && fsync(temporary.Fd()) == 0 && temporary.Close() &&
        temporary.RenameTo(*target))) {
    return false;
  }
  // The new file has taken its place: syncing the folder only hastens what the system does
  // anyway, so its failure does not make the save a failure.
  SyncFolder(FolderOf(*target));
  return true;
}

}  // namespace

void WriteWholeFile(std::string_view path, std::string_view bytes) {
  if (!TryWriteWholeFile(path, bytes)) {
    throw Failure(FormatText(Cp932("ファイル %s を作成できません"), {path}));
  }
}

}  // namespace files
