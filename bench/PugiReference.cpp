#include "bench/PugiReference.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/PosixFile.h"

namespace bench {
namespace {

std::runtime_error ReadError(const std::string& path) {
  return std::runtime_error("pugixml reference: cannot read " + path);
}

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, std::size_t size) override {
    out_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& out_;
};

}  // namespace

PugiCatchLog::PugiCatchLog(const std::string& path) {
  const files::posix::UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status;
  if (!file.IsOpen() || fstat(file.Get(), &status) != 0) throw ReadError(path);
  const auto size = static_cast<std::size_t>(status.st_size);
  buffer_ = std::make_unique_for_overwrite<char[]>(size);
  for (std::size_t used = 0; used < size;) {
    const ssize_t count = read(file.Get(), buffer_.get() + used, size - used);
    if (count == 0) throw ReadError(path);
    if (count < 0) {
      if (errno == EINTR) continue;
      throw ReadError(path);
    }
    used += static_cast<std::size_t>(count);
  }
  const auto result =
      document_.load_buffer_inplace(buffer_.get(), size, pugi::parse_minimal | pugi::parse_escapes);
  if (!result) throw std::runtime_error("pugixml reference: " + std::string(result.description()));
}

PugiCatchLog::RowWalk PugiCatchLog::WalkRows() const {
  RowWalk walk;
  for (const auto row : document_.child("DATAPACKET").child("ROWDATA").children("ROW")) {
    ++walk.rows;
    for (const auto attribute : row.attributes())
      walk.valueBytes += std::strlen(attribute.value());
  }
  return walk;
}

void PugiCatchLog::Save(std::string& out) const {
  StringWriter writer(out);
  document_.save(writer, "", pugi::format_raw);
}

}  // namespace bench
