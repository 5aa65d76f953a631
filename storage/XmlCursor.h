#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"
#include "storage/ByteScan.h"
#include "storage/PacketError.h"

// The lexical rules of the XML data file, which are this dialect's own rather than XML's: an
// element name ends at ">", "/" or a blank, and only a space lets attributes follow it; a tag
// runs to its first ">"; a value not in double quotes ends the attribute list; nothing but
// blanks, processing instructions and comments stands between elements. The cursor walks the
// document in place and keeps only the stack of open element names.

[[noreturn]] inline void FailRead(PacketError code) {
  throw Failure(code, std::string());
}

struct Tag {
  std::string_view name;
  bool end = false;    // "</name>"
  bool empty = false;  // "<name .../>"
  const char* attributes = nullptr;
  const char* attributesEnd = nullptr;
};

class XmlCursor {
 public:
  explicit XmlCursor(std::string_view document)
      : p_(document.data()), end_(document.data() + document.size()) {}

  // The start of the document: blanks, then markup; a declaration may switch to UTF-8 mode.
  void Start();
  // Skips bytes 1 to 32.
  void SkipBlanks();
  // The next start or end tag, past blanks, processing instructions and comments.
  Tag NextTag();
  // Calls visit(name, value) for each attribute in double quotes; an attribute whose value
  // is not in double quotes ends the list.
  template <typename Visit>
  static void ForEachAttribute(const Tag& tag, Visit&& visit);
  // Text of the metadata. The writer drops zero bytes, so they are dropped here as well: a
  // subtype or name means the same once written back.
  std::string Decoded(std::string_view raw) const;
  bool Utf8() const { return utf8_; }

  // The stack of open elements: at most 63; an end tag must name the innermost one.
  void Open(const Tag& tag);
  void Close(const Tag& tag);
  void ExpectOpening(const Tag& tag, std::string_view name);
  std::size_t Depth() const { return open_.size(); }

  // For a reading that walks a stretch itself.
  const char* Position() const { return p_; }
  const char* End() const { return end_; }
  void MoveTo(const char* position) { p_ = position; }

 private:
  // Moves past the next occurrence of `terminator`; the construct must close before the end.
  void SkipPast(std::string_view terminator);
  void ReadDeclaration();
  Tag ReadTag();

  const char* p_;
  const char* end_;
  bool utf8_ = false;
  std::vector<std::string_view> open_;
};

template <typename Visit>
void XmlCursor::ForEachAttribute(const Tag& tag, Visit&& visit) {
  const char* p = tag.attributes;
  const char* end = tag.attributesEnd;
  while (p && p < end) {
    while (p < end && static_cast<unsigned char>(*p) <= 32)
      ++p;
    if (p >= end) return;
    // Names and most values are a few bytes long: a plain loop beats a call to memchr.
    const char* equals = p;
    while (equals < end && *equals != '=')
      ++equals;
    if (equals == end) return;
    const char* nameEnd = equals;
    while (nameEnd > p && static_cast<unsigned char>(nameEnd[-1]) <= 32)
      --nameEnd;
    const std::string_view name(p, static_cast<std::size_t>(nameEnd - p));
    const char* value = equals + 1;
    while (value < end && static_cast<unsigned char>(*value) <= 32)
      ++value;
    if (value >= end || *value != '"') return;
    ++value;
    const char* quote = byte_scan::Find(value, end, '"');
    if (quote == end) FailRead(kXmlOpenAtEnd);  // the value runs past the tag's first '>'
    visit(name, std::string_view(value, static_cast<std::size_t>(quote - value)));
    p = quote + 1;
  }
}
