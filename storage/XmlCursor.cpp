#include "storage/XmlCursor.h"

#include "platform/CodePage.h"
#include "storage/XmlText.h"

namespace {

constexpr std::size_t kMaxOpenElements = 63;

constexpr bool IsBlank(unsigned char b) {
  return b >= 1 && b <= 32;
}

}  // namespace

void XmlCursor::Start() {
  SkipBlanks();
  if (p_ == end_ || *p_ != '<') FailRead(kXmlNoMarkup);
  if (p_ + 1 < end_ && p_[1] == '?') ReadDeclaration();
}

void XmlCursor::SkipBlanks() {
  while (p_ < end_ && IsBlank(static_cast<unsigned char>(*p_)))
    ++p_;
}

void XmlCursor::SkipPast(std::string_view terminator) {
  const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
  const auto at = rest.find(terminator);
  if (at == std::string_view::npos) FailRead(kXmlOpenAtEnd);
  p_ += at + terminator.size();
}

void XmlCursor::ReadDeclaration() {
  const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
  const auto close = rest.find("?>");
  if (close == std::string_view::npos) FailRead(kXmlOpenAtEnd);
  const std::string_view declaration = rest.substr(2, close - 2);
  for (std::size_t at = 0; (at = declaration.find('=', at)) != std::string_view::npos; ++at) {
    std::size_t nameEnd = at;
    std::size_t nameStart = nameEnd;
    while (nameStart > 0 && !IsBlank(static_cast<unsigned char>(declaration[nameStart - 1])))
      --nameStart;
    if (!cp932::SameText(declaration.substr(nameStart, nameEnd - nameStart), "encoding")) continue;
    if (at + 1 >= declaration.size() || declaration[at + 1] != '"') continue;
    const auto valueEnd = declaration.find('"', at + 2);
    if (valueEnd == std::string_view::npos) continue;
    if (cp932::SameText(declaration.substr(at + 2, valueEnd - at - 2), "UTF-8")) utf8_ = true;
  }
  p_ += close + 2;
}

Tag XmlCursor::NextTag() {
  for (;;) {
    SkipBlanks();
    if (p_ == end_) FailRead(kXmlOpenAtEnd);
    if (*p_ != '<') FailRead(kXmlTextOutsideTags);
    if (p_ + 1 == end_) FailRead(kXmlOpenAtEnd);
    if (p_[1] == '?') {
      SkipPast("?>");
    } else if (p_[1] == '!') {
      SkipPast("-->");
    } else {
      return ReadTag();
    }
  }
}

Tag XmlCursor::ReadTag() {
  Tag tag;
  ++p_;
  if (*p_ == '/') {
    tag.end = true;
    ++p_;
  }
  const char* name = p_;
  while (p_ < end_) {
    const auto b = static_cast<unsigned char>(*p_);
    if (b <= 32 || b == '>' || b == '/') break;
    ++p_;
  }
  if (p_ == end_) FailRead(kXmlOpenAtEnd);
  tag.name = std::string_view(name, static_cast<std::size_t>(p_ - name));
  if (tag.end) {
    if (*p_ != '>') FailRead(kXmlBadTag);
    ++p_;
    return tag;
  }
  switch (*p_) {
    case '>':
      ++p_;
      return tag;
    case '/':
      if (p_ + 1 == end_) FailRead(kXmlOpenAtEnd);
      if (p_[1] != '>') FailRead(kXmlBadTag);
      p_ += 2;
      tag.empty = true;
      return tag;
    case ' ': {
      const auto* close =
          static_cast<const char*>(std::memchr(p_, '>', static_cast<std::size_t>(end_ - p_)));
      if (!close) FailRead(kXmlOpenAtEnd);
      tag.empty = close[-1] == '/';
      tag.attributes = p_;
      tag.attributesEnd = tag.empty ? close - 1 : close;
      p_ = close + 1;
      return tag;
    }
    default:
      FailRead(kXmlBadTag);  // a tab or a line break after the name
  }
}

std::string XmlCursor::Decoded(std::string_view raw) const {
  std::string text(raw.size(), '\0');
  text.resize(Unescape(raw, utf8_, text.data()));
  std::erase(text, '\0');
  return text;
}

void XmlCursor::Open(const Tag& tag) {
  if (tag.empty) return;
  if (open_.size() == kMaxOpenElements) FailRead(kXmlTooDeep);
  open_.push_back(tag.name);
}

void XmlCursor::Close(const Tag& tag) {
  if (!tag.end) FailRead(kXmlElementOrder);
  if (open_.empty() || open_.back() != tag.name) FailRead(kXmlEndTagMismatch);
  open_.pop_back();
}

void XmlCursor::ExpectOpening(const Tag& tag, std::string_view name) {
  if (tag.end || tag.name != name) FailRead(kXmlElementOrder);
  if (tag.empty) FailRead(name == "FIELDS" ? kXmlNoFields : kXmlElementOrder);
  Open(tag);
}
