#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh folder for one test, removed with everything in it afterwards. Its path is plain
// ASCII, so it serves as CP932 and UTF-8 alike.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = std::filesystem::canonical(pattern).string();
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(path_); }

  const std::string& Path() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  std::string Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  // Every name in the folder or one of its subfolders, hidden ones included, sorted.
  std::vector<std::string> Names(const std::string& subfolder = ".") const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path(subfolder))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  mode_t Mode(const std::string& name) const {
    struct stat status {};
    stat(Path(name).c_str(), &status);
    return status.st_mode & 07777;
  }

 private:
  std::string path_;
};
