#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"
#include "platform/PosixFile.h"

namespace files {
namespace {

using posix::UniqueFd;

struct CloseFolder {
  void operator()(DIR* dir) const { closedir(dir); }
};

struct FreeMemory {
  void operator()(char* memory) const { std::free(memory); }
};

std::string IoErrorText(int code) {
  return FormatText("I/O error %d", {std::to_string(code)});
}

// A path without a UTF-8 form is reported as EILSEQ, like a name the file system refuses.
std::string FolderErrorText(int code) {
  switch (code) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EILSEQ:
      return "Invalid filename";
    case EACCES:
    case EPERM:
      return "File access denied";
    default:
      return IoErrorText(code);
  }
}

std::optional<ByteBuffer> ReadAll(int fd, std::size_t expectedSize) {
  ByteBuffer bytes;
  // One byte more than expected, so that the end of the file is seen without growing.
  bytes.Reserve(expectedSize + 1);
  for (;;) {
    // A file that grew since it was measured makes the buffer double.
    const std::size_t room =
        bytes.Size() <= expectedSize ? expectedSize + 1 - bytes.Size() : bytes.Size();
    const ssize_t count = read(fd, bytes.Room(room), room);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    bytes.Commit(static_cast<std::size_t>(count));
  }
  return bytes;
}

std::optional<ByteBuffer> TryReadWholeFile(std::string_view path) {
  const std::optional<std::string> systemPath = cp932::ToUtf8(path);
  if (!systemPath) return std::nullopt;
  // Not blocking keeps a named pipe from stalling the open; it is refused below anyway.
  const UniqueFd file(open(systemPath->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status;
  if (!file.IsOpen() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      flock(file.Get(), LOCK_SH | LOCK_NB) != 0) {
    return std::nullopt;
  }
  return ReadAll(file.Get(), static_cast<std::size_t>(status.st_size));
}

bool IsRegularFile(DIR* dir, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status;
  return fstatat(dirfd(dir), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// The mask is "*.*" or "*." and an extension.
bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*.*") return true;
  if (!mask.starts_with("*.")) return false;
  // The ending starts with '.', which is never the second byte of a double-byte character,
  // so the compared part of the name starts on a character.
  const std::string_view ending = mask.substr(1);
  return name.size() >= ending.size() &&
         cp932::SameText(name.substr(name.size() - ending.size()), ending);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (name.starts_with('/') || folder.empty()) return std::string(name);
  std::string path(folder);
  if (!path.ends_with('/')) path += '/';
  path += name;
  return path;
}

}  // namespace

bool FileExists(std::string_view path) {
  const std::optional<std::string> systemPath = cp932::ToUtf8(path);
  struct stat status;
  return systemPath && stat(systemPath->c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

ByteBuffer ReadWholeFile(std::string_view path) {
  std::optional<ByteBuffer> bytes = TryReadWholeFile(path);
  if (!bytes) throw Failure(FormatText(Cp932("ファイル %s は開けません"), {path}));
  return *std::move(bytes);
}

std::string CurrentDirectory() {
  const std::unique_ptr<char, FreeMemory> systemPath(getcwd(nullptr, 0));
  if (!systemPath) throw Failure(IoErrorText(errno));
  std::optional<std::string> path = cp932::FromUtf8(systemPath.get());
  if (!path) throw Failure(IoErrorText(EILSEQ));
  return *std::move(path);
}

void SetCurrentDirectory(std::string_view path) {
  const std::optional<std::string> systemPath = cp932::ToUtf8(path);
  if (!systemPath) throw Failure(FolderErrorText(EILSEQ));
  if (chdir(systemPath->c_str()) != 0) throw Failure(FolderErrorText(errno));
}

std::vector<std::string> SearchFolder(std::string_view folder, std::string_view mask) {
  const std::optional<std::string> systemFolder = cp932::ToUtf8(folder);
  if (!systemFolder) throw Failure(FolderErrorText(EILSEQ));
  const std::unique_ptr<DIR, CloseFolder> dir(opendir(systemFolder->c_str()));
  if (!dir) throw Failure(FolderErrorText(errno));
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      if (errno != 0) throw Failure(FolderErrorText(errno));
      return names;
    }
    const std::string_view systemName = entry->d_name;
    if (systemName.starts_with('.')) continue;
    std::optional<std::string> name = cp932::FromUtf8(systemName);
    if (name && MatchesMask(*name, mask) && IsRegularFile(dir.get(), *entry)) {
      names.push_back(*std::move(name));
    }
  }
}

bool RenameWithoutReplacing(std::string_view folder, std::string_view from, std::string_view to) {
  if (from.empty() || to.empty()) return false;
  const std::optional<std::string> source = cp932::ToUtf8(JoinPath(folder, from));
  const std::optional<std::string> destination = cp932::ToUtf8(JoinPath(folder, to));
  if (!source || !destination) return false;
  if (syscall(SYS_renameat2, AT_FDCWD, source->c_str(), AT_FDCWD, destination->c_str(),
              RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system lacks the flag; link() refuses an existing name as well.
  if (link(source->c_str(), destination->c_str()) != 0) return false;
  if (unlink(source->c_str()) == 0) return true;
  unlink(destination->c_str());
  return false;
}

std::string ExecutablePath() {
  const std::optional<std::string> systemPath = posix::ReadSymbolicLink("/proc/self/exe");
  if (!systemPath) throw Failure(IoErrorText(errno));
  std::optional<std::string> path = cp932::FromUtf8(*systemPath);
  if (!path) throw Failure(IoErrorText(EILSEQ));
  return *std::move(path);
}

}  // namespace files
