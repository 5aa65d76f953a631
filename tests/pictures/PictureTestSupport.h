#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/FailureBoundary.h"

// Helpers of the picture tests: the failures the control reports, what a widget shows, and
// the bytes of little picture files.
namespace picture_test {

// Collects what reaches failure_boundary::Report while it lives.
class ReportedFailures {
 public:
  ReportedFailures() {
    failure_boundary::SetReporter([this](const Failure& f) { messages_.push_back(f.Message()); });
  }
  ReportedFailures(const ReportedFailures&) = delete;
  ReportedFailures& operator=(const ReportedFailures&) = delete;
  ~ReportedFailures() { failure_boundary::SetReporter(nullptr); }

  // After the queued reports have been delivered.
  const std::vector<std::string>& Messages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return messages_;
  }

 private:
  std::vector<std::string> messages_;
};

// What the widget and its children show, as 32-bit pixels.
inline QImage Shown(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline std::string U16(unsigned v) {
  return {char(v & 0xFF), char(v >> 8 & 0xFF)};
}

inline std::string U32(std::uint32_t v) {
  return U16(v & 0xFFFF) + U16(v >> 16);
}

inline unsigned U16Of(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

inline std::string Bytes(std::initializer_list<unsigned> bytes) {
  std::string text;
  for (const unsigned b : bytes)
    text += static_cast<char>(b);
  return text;
}

// A bitmap file with a 40-byte information header; `palette` entries are 0xRRGGBB and
// `pixels` the rows as stored (bottom-up unless the height is negative).
inline std::string BitmapFile(int width, int height, int bitsPerPixel, const std::string& pixels,
                              const std::vector<std::uint32_t>& palette = {},
                              std::uint32_t compression = 0, const std::string& masks = "") {
  std::string table = masks;
  for (const std::uint32_t color : palette)
    table += U32(color);
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(table.size());
  return "BM" + U32(offset + static_cast<std::uint32_t>(pixels.size())) + U32(0) + U32(offset) +
         U32(40) + U32(static_cast<std::uint32_t>(width)) +
         U32(static_cast<std::uint32_t>(height)) + U16(1) + U16(bitsPerPixel) + U32(compression) +
         U32(static_cast<std::uint32_t>(pixels.size())) + U32(2835) + U32(2835) +
         U32(static_cast<std::uint32_t>(palette.size())) + U32(0) + table + pixels;
}

}  // namespace picture_test
