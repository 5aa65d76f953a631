#include <algorithm>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "storage/ByteScan.h"
#include "storage/KnownParameters.h"
#include "storage/PacketError.h"
#include "storage/ValueText.h"
#include "storage/XmlPacket.h"
#include "storage/XmlText.h"

namespace {

constexpr std::size_t kMaxOpenElements = 63;
constexpr std::size_t kMaxNameLength = 31;

[[noreturn]] void Fail(PacketError code) {
  throw Failure(code, std::string());
}

constexpr bool IsBlank(unsigned char b) {
  return b >= 1 && b <= 32;
}

struct Tag {
  std::string_view name;
  bool end = false;    // "</name>"
  bool empty = false;  // "<name .../>"
  const char* attributes = nullptr;
  const char* attributesEnd = nullptr;
};

// Reads an integer the way the file writes numbers; nullopt when the text starts with none.
std::optional<long long> Decimal(std::string_view text) {
  long long value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

class XmlPacketReader {
  struct Slot {
    bool present = false;
    std::string_view raw;
    std::optional<std::string> other;  // the decoded value of a kind the catch log does not use
  };

 public:
  explicit XmlPacketReader(std::string_view document)
      : p_(document.data()), end_(document.data() + document.size()) {}

  TableContent Read() {
    SkipBlanks();
    if (p_ == end_ || *p_ != '<') Fail(kXmlNoMarkup);
    if (p_ + 1 < end_ && p_[1] == '?') ReadDeclaration();

    Tag tag = NextTag();
    if (!tag.end && tag.name == "DATAPACKET") {
      Open(tag);
      tag = NextTag();
    }
    ExpectOpening(tag, "METADATA");
    ReadFields();
    tag = NextTag();
    if (!tag.end && tag.name == "PARAMS") {
      ReadDatasetParameters(tag);
      tag = NextTag();
    }
    Close(tag);  // </METADATA>
    tag = NextTag();
    if (tag.end || tag.name != "ROWDATA") Fail(kXmlElementOrder);
    if (!tag.empty) {
      Open(tag);
      ReadRows();
    }
    if (!content_.RestoreOrder()) Fail(kXmlChangeLog);
    return std::move(content_);
  }

 private:
  void SkipBlanks() {
    while (p_ < end_ && IsBlank(static_cast<unsigned char>(*p_)))
      ++p_;
  }

  // Moves past the next occurrence of `terminator`; the construct must close before the end.
  void SkipPast(std::string_view terminator) {
    const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
    const auto at = rest.find(terminator);
    if (at == std::string_view::npos) Fail(kXmlOpenAtEnd);
    p_ += at + terminator.size();
  }

  void ReadDeclaration() {
    const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
    const auto close = rest.find("?>");
    if (close == std::string_view::npos) Fail(kXmlOpenAtEnd);
    const std::string_view declaration = rest.substr(2, close - 2);
    for (std::size_t at = 0; (at = declaration.find('=', at)) != std::string_view::npos; ++at) {
      std::size_t nameEnd = at;
      std::size_t nameStart = nameEnd;
      while (nameStart > 0 && !IsBlank(static_cast<unsigned char>(declaration[nameStart - 1])))
        --nameStart;
      if (!cp932::SameText(declaration.substr(nameStart, nameEnd - nameStart), "encoding"))
        continue;
      if (at + 1 >= declaration.size() || declaration[at + 1] != '"') continue;
      const auto valueEnd = declaration.find('"', at + 2);
      if (valueEnd == std::string_view::npos) continue;
      if (cp932::SameText(declaration.substr(at + 2, valueEnd - at - 2), "UTF-8")) utf8_ = true;
    }
    p_ += close + 2;
  }

  // The next start or end tag, past blanks, processing instructions and comments.
  Tag NextTag() {
    for (;;) {
      SkipBlanks();
      if (p_ == end_) Fail(kXmlOpenAtEnd);
      if (*p_ != '<') Fail(kXmlTextOutsideTags);
      if (p_ + 1 == end_) Fail(kXmlOpenAtEnd);
      if (p_[1] == '?') {
        SkipPast("?>");
      } else if (p_[1] == '!') {
        SkipPast("-->");
      } else {
        return ReadTag();
      }
    }
  }

  Tag ReadTag() {
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
    if (p_ == end_) Fail(kXmlOpenAtEnd);
    tag.name = std::string_view(name, static_cast<std::size_t>(p_ - name));
    if (tag.end) {
      if (*p_ != '>') Fail(kXmlBadTag);
      ++p_;
      return tag;
    }
    switch (*p_) {
      case '>':
        ++p_;
        return tag;
      case '/':
        if (p_ + 1 == end_) Fail(kXmlOpenAtEnd);
        if (p_[1] != '>') Fail(kXmlBadTag);
        p_ += 2;
        tag.empty = true;
        return tag;
      case ' ': {
        const auto* close =
            static_cast<const char*>(std::memchr(p_, '>', static_cast<std::size_t>(end_ - p_)));
        if (!close) Fail(kXmlOpenAtEnd);
        tag.empty = close[-1] == '/';
        tag.attributes = p_;
        tag.attributesEnd = tag.empty ? close - 1 : close;
        p_ = close + 1;
        return tag;
      }
      default:
        Fail(kXmlBadTag);  // a tab or a line break after the name
    }
  }

  // Calls visit(name, value) for each attribute in double quotes; an attribute whose value is
  // not in double quotes ends the list.
  template <typename Visit>
  static void ForEachAttribute(const Tag& tag, Visit&& visit) {
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
      if (quote == end) Fail(kXmlOpenAtEnd);  // the value runs past the tag's first '>'
      visit(name, std::string_view(value, static_cast<std::size_t>(quote - value)));
      p = quote + 1;
    }
  }

  // Text of the metadata. The writer drops zero bytes, so they are dropped here as well: a
  // subtype or name means the same once written back.
  std::string Decoded(std::string_view raw) const {
    std::string text(raw.size(), '\0');
    text.resize(Unescape(raw, utf8_, text.data()));
    std::erase(text, '\0');
    return text;
  }

  void Open(const Tag& tag) {
    if (tag.empty) return;
    if (open_.size() == kMaxOpenElements) Fail(kXmlTooDeep);
    open_.push_back(tag.name);
  }

  void Close(const Tag& tag) {
    if (!tag.end) Fail(kXmlElementOrder);
    if (open_.empty() || open_.back() != tag.name) Fail(kXmlEndTagMismatch);
    open_.pop_back();
  }

  void ExpectOpening(const Tag& tag, std::string_view name) {
    if (tag.end || tag.name != name) Fail(kXmlElementOrder);
    if (tag.empty) Fail(name == "FIELDS" ? kXmlNoFields : kXmlElementOrder);
    Open(tag);
  }

  // The children of an element just opened, up to its end tag: PARAM elements give parameters
  // when `parameters` is set, anything else is passed over.
  void ReadChildren(std::vector<Parameter>* parameters) {
    const std::size_t depth = open_.size();
    while (open_.size() >= depth) {
      const Tag tag = NextTag();
      if (tag.end) {
        Close(tag);
      } else if (parameters && open_.size() == depth && tag.name == "PARAM") {
        parameters->push_back(ParamElement(tag));
        Open(tag);
      } else {
        Open(tag);
      }
    }
  }

  Parameter ParamElement(const Tag& tag) {
    Parameter parameter;
    bool named = false;
    bool valued = false;
    ForEachAttribute(tag, [&](std::string_view name, std::string_view value) {
      if (name == "Name") {
        parameter.name = Decoded(value);
        named = true;
      } else if (name == "Value") {
        parameter.value = Decoded(value);
        valued = true;
      } else if (name == "Type") {
        parameter.kind = KindFromWord(Decoded(value)).value_or(FieldKind::String);
      } else if (name == "Roundtrip") {
        parameter.roundtrip = cp932::SameText(Decoded(value), "True");
      }
    });
    if (!named || !valued) Fail(kXmlParamIncomplete);
    return parameter;
  }

  void ReadFields() {
    ExpectOpening(NextTag(), "FIELDS");
    for (;;) {
      const Tag tag = NextTag();
      if (tag.end) {
        Close(tag);
        break;
      }
      ReadField(tag);
    }
    if (content_.fields.empty()) Fail(kXmlNoFields);
    // Two fields of one attribute name could not tell their values apart.
    for (std::size_t f = 0; f < attributeNames_.size(); ++f) {
      if (attributeNames_[f] && !fieldOfAttribute_.emplace(*attributeNames_[f], f).second) {
        Fail(kXmlFieldName);
      }
    }
    slots_.assign(content_.fields.size(), {});
    for (const auto& name : attributeNames_)
      openings_.emplace_back(name ? *name + "=\"" : std::string());
    absentStatus_.assign(Layout().StatusBytes(), '\0');
    for (std::size_t f = 0; f < content_.fields.size(); ++f) {
      EntryLayout::SetStatus(absentStatus_.data(), f, EntryLayout::kAbsent);
    }
  }

  void ReadField(const Tag& tag) {
    Field field;
    std::optional<std::string> attrName, fieldName, tagName, kindWord;
    std::vector<Parameter> parameters;
    ForEachAttribute(tag, [&](std::string_view name, std::string_view raw) {
      std::string value = Decoded(raw);
      const auto flag = [&](FieldAttribute bit) {
        if (cp932::SameText(value, "true")) field.attributes |= bit;
      };
      if (name == "attrname") {
        attrName = std::move(value);
      } else if (name == "fieldname") {
        fieldName = std::move(value);
      } else if (name == "tagname") {
        tagName = std::move(value);
      } else if (name == "fieldtype") {
        kindWord = std::move(value);
      } else if (name == "readonly") {
        flag(kReadOnly);
      } else if (name == "hidden") {
        flag(kHidden);
      } else if (name == "required") {
        flag(kRequired);
      } else if (name == "linkfield") {
        flag(kLinkField);
      } else {
        parameters.push_back(AttributeParameter(name, std::move(value)));
      }
    });
    Open(tag);
    if (!tag.empty) ReadChildren(&parameters);
    for (auto& parameter : parameters)
      TakeFieldParameter(field, std::move(parameter));

    if (!attrName && !tagName) Fail(kXmlFieldUnnamed);
    if (!kindWord) Fail(kXmlFieldKind);
    const auto kind = KindFromWord(*kindWord);
    if (!kind) Fail(kXmlFieldKind);
    field.kind = *kind;
    if (attrName) field.attributes |= kUnnamed;
    field.name = fieldName ? *fieldName : attrName ? *attrName : *tagName;
    if (field.name.size() > kMaxNameLength || (attrName && attrName->size() > kMaxNameLength)) {
      Fail(kXmlFieldName);
    }
    ResolveKind(field);
    attributeNames_.push_back(std::move(attrName));
    content_.fields.push_back(std::move(field));
  }

  // A parameter given as an attribute; a zero byte in its name goes, as the writer drops it.
  static Parameter AttributeParameter(std::string_view rawName, std::string value) {
    std::string name(rawName);
    std::erase(name, '\0');
    const auto kind = KnownParameterKind(name).value_or(FieldKind::String);
    return Parameter{.name = std::move(name), .kind = kind, .value = std::move(value)};
  }

  // Width, decimals, subtype and the calculated flag belong to the field, however given.
  static void TakeFieldParameter(Field& field, Parameter parameter) {
    if (parameter.name == "SUBTYPE") {
      field.subtype = std::move(parameter.value);
    } else if (parameter.name == "WIDTH") {
      field.width = static_cast<int>(Decimal(parameter.value).value_or(-1));
    } else if (parameter.name == "DECIMALS") {
      field.decimals = static_cast<int>(Decimal(parameter.value).value_or(0));
    } else if (parameter.name == "CALCULATED") {
      field.calculated = cp932::SameText(parameter.value, "true");
    } else {
      field.parameters.push_back(std::move(parameter));
    }
  }

  // Strings need a width; what a "bin.hex" field holds follows from its subtype and width.
  static void ResolveKind(Field& field) {
    const bool hasWidth = field.width > 0 && field.width <= 32767;
    if (!hasWidth) field.width = 0;
    if (field.kind == FieldKind::String && !hasWidth) Fail(kXmlFieldWidth);
    if (field.kind != FieldKind::Blob) return;
    const auto kind = BytesKind(field.subtype, hasWidth);
    if (!kind) Fail(kXmlFieldWidth);
    field.kind = *kind;
  }

  void ReadDatasetParameters(const Tag& tag) {
    ForEachAttribute(tag, [&](std::string_view name, std::string_view raw) {
      content_.parameters.push_back(AttributeParameter(name, Decoded(raw)));
    });
    Open(tag);
    if (!tag.empty) ReadChildren(&content_.parameters);
    for (auto it = content_.parameters.begin(); it != content_.parameters.end(); ++it) {
      if (it->name != "CHANGE_LOG") continue;
      ReadChangeLog(it->value);
      content_.parameters.erase(it);
      break;
    }
  }

  void ReadChangeLog(std::string_view text) {
    std::vector<unsigned long long> numbers;
    for (std::size_t i = 0; i < text.size();) {
      if (text[i] == ' ') {
        ++i;
        continue;
      }
      unsigned long long n = 0;
      const auto result = std::from_chars(text.data() + i, text.data() + text.size(), n);
      if (result.ec != std::errc()) Fail(kXmlChangeLog);
      numbers.push_back(n);
      i = static_cast<std::size_t>(result.ptr - text.data());
    }
    if (numbers.size() % 3 != 0) Fail(kXmlChangeLog);
    for (std::size_t i = 0; i < numbers.size(); i += 3) {
      const auto kind = numbers[i + 2];
      if (kind != 2 && kind != 4 && kind != 8) Fail(kXmlChangeLog);
      const bool modification = kind == 8;
      if (numbers[i] == 0 || numbers[i] > kNoVersion ||
          (modification && (numbers[i + 1] == 0 || numbers[i + 1] > kNoVersion))) {
        Fail(kXmlChangeLog);
      }
      content_.changes.push_back(
          Change{static_cast<ChangeKind>(kind), static_cast<std::uint32_t>(numbers[i] - 1),
                 modification ? static_cast<std::uint32_t>(numbers[i + 1] - 1) : kNoVersion});
    }
  }

  std::optional<std::size_t> FieldOfAttribute(std::string_view name) {
    const std::size_t n = attributeNames_.size();
    if (predicted_ < n && attributeNames_[predicted_] == name) return predicted_++;
    const auto it = fieldOfAttribute_.find(name);
    if (it == fieldOfAttribute_.end()) return std::nullopt;
    predicted_ = it->second + 1;
    return it->second;
  }

  void ReadRows() {
    // The rows' entries take fewer bytes than their text: one block holds them all.
    const auto rest = static_cast<std::size_t>(end_ - p_);
    content_.arena.Reserve(rest);
    content_.versions.reserve(rest / 64);
    const std::size_t depth = open_.size();
    bool first = true;
    for (;;) {
      SkipBlanks();
      if (!utf8_ && ReadPlainRow()) {
        first = false;
        continue;
      }
      const Tag tag = NextTag();
      if (tag.end) {
        Close(tag);  // the first end tag at row level ends the rows
        return;
      }
      if (first && tag.name != "ROW") Fail(kXmlFirstRow);
      first = false;
      ReadRow(tag);
      Open(tag);
      if (!tag.empty) ReadChildren(nullptr);
      if (open_.size() != depth) Fail(kXmlEndTagMismatch);
    }
  }

  // The row as the writer writes it: "<ROW", attributes of the catch log's kinds in field
  // order, "/>". It is encoded in one pass, without a tag or slots. Anything else leaves
  // the reading where it was, for the general way to read or refuse; false then.
  bool ReadPlainRow() {
    const char* p = p_;
    if (end_ - p < 5 || std::memcmp(p, "<ROW ", 5) != 0) return false;
    p += 5;
    const auto& fields = content_.fields;
    const EntryLayout& layout = Layout();
    const std::size_t statusBytes = layout.StatusBytes();
    char* const entry = content_.arena.Allocate(statusBytes + kPlainRowLimit);
    char* const limit = entry + statusBytes + kPlainRowLimit;
    const auto abandon = [&] {
      content_.arena.Shrink(entry, statusBytes + kPlainRowLimit, 0);
      return false;
    };
    std::memcpy(entry, absentStatus_.data(), statusBytes);
    char* at = entry + statusBytes;
    std::size_t next = 0;
    for (;;) {
      while (p < end_ && static_cast<unsigned char>(*p) <= 32)
        ++p;
      if (end_ - p < 2) return abandon();
      if (p[0] == '/' && p[1] == '>') {
        p += 2;
        break;
      }
      // Mostly the attribute is the next field's: its ' name="' is compared without a scan.
      std::size_t f = next;
      while (f < fields.size() && !openings_[f].Matches(p, end_))
        ++f;
      if (f == fields.size()) return abandon();  // out of order, unknown, repeated or RowState
      p += openings_[f].Size();
      const auto& l = layout.Layout(f);
      switch (fields[f].kind) {
        case FieldKind::Date: {
          const char* value = p;
          while (p < end_ && *p != '"' && *p != '>')
            ++p;
          if (p == end_ || *p == '>') return abandon();
          const auto day =
              DayNumberFromXmlDate(std::string_view(value, static_cast<std::size_t>(p - value)));
          ++p;
          if (!day) break;
          WriteLittleEndian(at, static_cast<std::uint32_t>(*day), 4);
          at += 4;
          EntryLayout::SetStatus(entry, f, 0);
          break;
        }
        case FieldKind::String:
        case FieldKind::Memo: {
          char* const text = at + l.size;
          char* out = text;
          if (!CopyValue(p, out, limit)) return abandon();
          std::size_t length = static_cast<std::size_t>(out - text);
          if (fields[f].kind == FieldKind::Memo && length == 0) break;  // an empty memo is absent
          if (length > static_cast<std::size_t>(fields[f].width) &&
              fields[f].kind == FieldKind::String) {
            length = cp932::CutToWidth(std::string_view(text, length),
                                       static_cast<std::size_t>(fields[f].width))
                         .size();
          }
          WriteLittleEndian(at, length, l.size);
          at = text + length;
          EntryLayout::SetStatus(entry, f, 0);
          break;
        }
        default:
          return abandon();
      }
      next = f + 1;
    }
    const auto size = static_cast<std::size_t>(at - entry);
    content_.arena.Shrink(entry, statusBytes + kPlainRowLimit, size);
    content_.versions.push_back({entry, static_cast<std::uint32_t>(size), 0});
    p_ = p;
    return true;
  }

  // Decodes a value up to its closing quote into `out`, sixteen bytes at a time where no
  // quote, reference or '>' stands. False, for the general way, where it cannot: a '>' (the
  // tag would end inside the value), the end of the data, or no room left before `limit`.
  bool CopyValue(const char*& p, char*& out, const char* limit) const {
    for (;;) {
      if (end_ - p >= 16 && limit - out >= 16) {
        const auto block = byte_scan::Block::Load(p);
        block.Store(out);
        const unsigned stops = block.Positions('"') | block.Positions('&') | block.Positions('>');
        if (stops == 0) {
          out += 16;
          p += 16;
          continue;
        }
        const int plain = __builtin_ctz(stops);
        out += plain;
        p += plain;
      }
      if (p == end_ || out == limit || *p == '>') return false;
      if (*p == '"') {
        ++p;
        return true;
      }
      if (*p == '&') {
        std::size_t length;
        *out++ = DecodeReference(std::string_view(p + 1, static_cast<std::size_t>(end_ - p - 1)),
                                 length);
        p += 1 + length;
      } else {
        *out++ = *p++;
      }
    }
  }

  void ReadRow(const Tag& tag) {
    std::uint8_t state = 0;
    bool stateSeen = false;
    touched_.clear();
    predicted_ = 0;
    ForEachAttribute(tag, [&](std::string_view name, std::string_view value) {
      if (name == "RowState") {
        if (!stateSeen) state = static_cast<std::uint8_t>(Decimal(value).value_or(0) & 0x0F);
        stateSeen = true;
        return;
      }
      const auto field = FieldOfAttribute(name);
      if (!field || slots_[*field].present) return;
      slots_[*field].present = true;
      slots_[*field].raw = value;
      touched_.push_back(*field);
    });
    StoreRow(state);
    for (const auto f : touched_)
      slots_[f].present = false;
  }

  // Encodes the row straight into the table's arena.
  void StoreRow(std::uint8_t state) {
    const auto& fields = content_.fields;
    const EntryLayout& layout = Layout();
    std::size_t bound = layout.StatusBytes();
    for (const auto f : touched_) {
      auto& slot = slots_[f];
      const auto& l = layout.Layout(f);
      const auto kind = fields[f].kind;
      if (kind == FieldKind::Date || kind == FieldKind::String || kind == FieldKind::Memo) {
        bound += l.size + (l.varying ? slot.raw.size() : 0);  // decoding never lengthens text
      } else {
        slot.other = ValueFromXmlText(fields[f], slot.raw, Decoded(slot.raw));
        bound += l.size + (l.varying && slot.other ? slot.other->size() : 0);
      }
    }
    char* entry = content_.arena.Allocate(bound);
    std::memset(entry, 0, layout.StatusBytes());
    char* at = entry + layout.StatusBytes();
    const bool modified = state & kRowModified;
    for (std::size_t f = 0; f < fields.size(); ++f) {
      const auto& slot = slots_[f];
      if (!slot.present || !StoreValue(fields[f], layout.Layout(f), slot, at)) {
        // A modified row leaves out a large object it shares with the version it replaced.
        const bool shares = modified && IsLargeObject(fields[f].kind) && !slot.present;
        EntryLayout::SetStatus(
            entry, f, shares ? EntryLayout::kAbsent | EntryLayout::kShared : EntryLayout::kAbsent);
      }
    }
    const auto size = static_cast<std::size_t>(at - entry);
    content_.arena.Shrink(entry, bound, size);
    content_.versions.push_back({entry, static_cast<std::uint32_t>(size), state});
  }

  // Writes one value at `at` and moves past it; false when the value does not decode.
  bool StoreValue(const Field& field, const ValueLayout& layout, const Slot& slot, char*& at) {
    const std::string_view raw = slot.raw;
    switch (field.kind) {
      case FieldKind::Date: {
        const auto day = DayNumberFromXmlDate(raw);
        if (!day) return false;
        WriteLittleEndian(at, static_cast<std::uint32_t>(*day), 4);
        at += 4;
        return true;
      }
      case FieldKind::String: {
        char* text = at + layout.size;
        std::size_t length = Unescape(raw, utf8_, text);
        if (length > static_cast<std::size_t>(field.width)) {
          length = cp932::CutToWidth(std::string_view(text, length),
                                     static_cast<std::size_t>(field.width))
                       .size();
        }
        WriteLittleEndian(at, length, layout.size);
        at = text + length;
        return true;
      }
      case FieldKind::Memo: {
        char* text = at + layout.size;
        const std::size_t length = Unescape(raw, utf8_, text);
        if (length == 0) return false;  // an empty memo reads as an absent one
        WriteLittleEndian(at, length, layout.size);
        at = text + length;
        return true;
      }
      default: {
        const auto& value = slot.other;
        if (!value) return false;
        if (layout.varying) {
          const std::size_t length = std::min(value->size(), EntryLayout::MaxLength(layout));
          WriteLittleEndian(at, length, layout.size);
          std::memcpy(at + layout.size, value->data(), length);
          at += layout.size + length;
        } else {
          std::memset(at, 0, layout.size);
          std::memcpy(at, value->data(), std::min<std::size_t>(value->size(), layout.size));
          at += layout.size;
        }
        return true;
      }
    }
  }

  const EntryLayout& Layout() {
    if (!layout_) layout_.emplace(content_.fields);
    return *layout_;
  }

  const char* p_;
  const char* end_;
  bool utf8_ = false;
  std::vector<std::string_view> open_;
  TableContent content_;
  std::vector<std::optional<std::string>> attributeNames_;  // none for a field named by its tag
  std::unordered_map<std::string_view, std::size_t> fieldOfAttribute_;
  std::vector<Slot> slots_;
  std::vector<std::size_t> touched_;
  std::size_t predicted_ = 0;
  std::optional<EntryLayout> layout_;
  std::string absentStatus_;  // the status bytes of an entry whose every value is absent
  std::vector<byte_scan::Prefix> openings_;  // 'name="' of each field, none for a tag name
  // Longer rows, with memos of several kilobytes, take the general way.
  static constexpr std::size_t kPlainRowLimit = 8192;
};

}  // namespace

TableContent ReadXmlPacket(std::string_view document) {
  return XmlPacketReader(document).Read();
}
