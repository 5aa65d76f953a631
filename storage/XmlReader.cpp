#include <algorithm>
#include <charconv>
#include <cstring>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/Failure.h"
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

const std::string_view kBlobSubtypes[] = {"Text",     "Binary",   "Formatted",  "Ole",
                                          "Graphics", "dBASEOle", "TypedBinary"};

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
      const auto* equals =
          static_cast<const char*>(std::memchr(p, '=', static_cast<std::size_t>(end - p)));
      if (!equals) return;
      const char* nameEnd = equals;
      while (nameEnd > p && static_cast<unsigned char>(nameEnd[-1]) <= 32)
        --nameEnd;
      const std::string_view name(p, static_cast<std::size_t>(nameEnd - p));
      const char* value = equals + 1;
      while (value < end && static_cast<unsigned char>(*value) <= 32)
        ++value;
      if (value >= end || *value != '"') return;
      ++value;
      const auto* quote =
          static_cast<const char*>(std::memchr(value, '"', static_cast<std::size_t>(end - value)));
      if (!quote) Fail(kXmlOpenAtEnd);  // the value runs past the tag's first '>'
      visit(name, std::string_view(value, static_cast<std::size_t>(quote - value)));
      p = quote + 1;
    }
  }

  std::string Decoded(std::string_view raw) const {
    std::string text(raw.size(), '\0');
    text.resize(Unescape(raw, utf8_, text.data()));
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
    for (std::size_t f = 0; f < attributeNames_.size(); ++f) {
      if (!attributeNames_[f].empty()) fieldOfAttribute_.emplace(attributeNames_[f], f);
    }
    slots_.assign(content_.fields.size(), {});
  }

  void ReadField(const Tag& tag) {
    Field field;
    std::optional<std::string> attrName, fieldName, tagName, kindWord;
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
      } else if (name == "SUBTYPE") {
        field.subtype = std::move(value);
      } else if (name == "WIDTH") {
        field.width = static_cast<int>(Decimal(value).value_or(-1));
      } else if (name == "DECIMALS") {
        field.decimals = static_cast<int>(Decimal(value).value_or(0));
      } else if (name == "CALCULATED") {
        field.calculated = cp932::SameText(value, "true");
      } else {
        field.parameters.push_back(
            Parameter{.name = std::string(name),
                      .kind = KnownParameterKind(name).value_or(FieldKind::String),
                      .value = std::move(value)});
      }
    });
    Open(tag);
    if (!tag.empty) ReadChildren(&field.parameters);

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
    attributeNames_.push_back(attrName.value_or(std::string()));
    content_.fields.push_back(std::move(field));
  }

  // What a "bin.hex" field holds follows from its subtype and width; strings need a width.
  static void ResolveKind(Field& field) {
    const bool hasWidth = field.width > 0 && field.width <= 32767;
    if (field.width < 0 || field.width > 32767) field.width = 0;
    if (field.kind == FieldKind::String && !hasWidth) Fail(kXmlFieldWidth);
    if (field.kind != FieldKind::Blob) return;
    if (field.subtype == "Text") {
      field.kind = FieldKind::Memo;
    } else if (field.subtype.empty()) {
      if (!hasWidth) Fail(kXmlFieldWidth);
      field.kind = FieldKind::FixedBytes;
    } else if (std::find(std::begin(kBlobSubtypes), std::end(kBlobSubtypes), field.subtype) ==
               std::end(kBlobSubtypes)) {
      field.kind = FieldKind::VarBytes;
    }
  }

  void ReadDatasetParameters(const Tag& tag) {
    ForEachAttribute(tag, [&](std::string_view name, std::string_view raw) {
      content_.parameters.push_back(
          Parameter{.name = std::string(name),
                    .kind = KnownParameterKind(name).value_or(FieldKind::String),
                    .value = Decoded(raw)});
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
    const std::size_t depth = open_.size();
    bool first = true;
    for (;;) {
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
  std::vector<std::string> attributeNames_;
  std::unordered_map<std::string_view, std::size_t> fieldOfAttribute_;
  std::vector<Slot> slots_;
  std::vector<std::size_t> touched_;
  std::size_t predicted_ = 0;
  std::optional<EntryLayout> layout_;
};

}  // namespace

TableContent ReadXmlPacket(std::string_view document) {
  return XmlPacketReader(document).Read();
}
