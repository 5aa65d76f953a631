#include "storage/XmlPacket.h"

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
#include "storage/XmlCursor.h"
#include "storage/XmlText.h"

namespace {

constexpr std::size_t kMaxNameLength = 31;

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
  explicit XmlPacketReader(std::string_view document) : cursor_(document) {}

  TableContent Read() {
    cursor_.Start();

    Tag tag = cursor_.NextTag();
    if (!tag.end && tag.name == "DATAPACKET") {
      cursor_.Open(tag);
      tag = cursor_.NextTag();
    }
    cursor_.ExpectOpening(tag, "METADATA");
    ReadFields();
    tag = cursor_.NextTag();
    if (!tag.end && tag.name == "PARAMS") {
      ReadDatasetParameters(tag);
      tag = cursor_.NextTag();
    }
    cursor_.Close(tag);  // </METADATA>
    tag = cursor_.NextTag();
    if (tag.end || tag.name != "ROWDATA") FailRead(kXmlElementOrder);
    if (!tag.empty) {
      cursor_.Open(tag);
      ReadRows();
    }
    if (!content_.RestoreOrder()) FailRead(kXmlChangeLog);
    return std::move(content_);
  }

 private:
  // The children of an element just opened, up to its end tag: PARAM elements give parameters
  // when `parameters` is set, anything else is passed over.
  void ReadChildren(std::vector<Parameter>* parameters) {
    const std::size_t depth = cursor_.Depth();
    while (cursor_.Depth() >= depth) {
      const Tag tag = cursor_.NextTag();
      if (tag.end) {
        cursor_.Close(tag);
      } else if (parameters && cursor_.Depth() == depth && tag.name == "PARAM") {
        parameters->push_back(ParamElement(tag));
        cursor_.Open(tag);
      } else {
        cursor_.Open(tag);
      }
    }
  }

  Parameter ParamElement(const Tag& tag) {
    Parameter parameter;
    bool named = false;
    bool valued = false;
    XmlCursor::ForEachAttribute(tag, [&](std::string_view name, std::string_view value) {
      if (name == "Name") {
        parameter.name = cursor_.Decoded(value);
        named = true;
      } else if (name == "Value") {
        parameter.value = cursor_.Decoded(value);
        valued = true;
      } else if (name == "Type") {
        parameter.kind = KindFromWord(cursor_.Decoded(value)).value_or(FieldKind::String);
      } else if (name == "Roundtrip") {
        parameter.roundtrip = cp932::SameText(cursor_.Decoded(value), "True");
      }
    });
    if (!named || !valued) FailRead(kXmlParamIncomplete);
    return parameter;
  }

  void ReadFields() {
    cursor_.ExpectOpening(cursor_.NextTag(), "FIELDS");
    for (;;) {
      const Tag tag = cursor_.NextTag();
      if (tag.end) {
        cursor_.Close(tag);
        break;
      }
      ReadField(tag);
    }
    if (content_.fields.empty()) FailRead(kXmlNoFields);
    // Two fields of one attribute name could not tell their values apart.
    for (std::size_t f = 0; f < attributeNames_.size(); ++f) {
      if (attributeNames_[f] && !fieldOfAttribute_.emplace(*attributeNames_[f], f).second) {
        FailRead(kXmlFieldName);
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
    XmlCursor::ForEachAttribute(tag, [&](std::string_view name, std::string_view raw) {
      std::string value = cursor_.Decoded(raw);
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
    cursor_.Open(tag);
    if (!tag.empty) ReadChildren(&parameters);
    for (auto& parameter : parameters)
      TakeFieldParameter(field, std::move(parameter));

    if (!attrName && !tagName) FailRead(kXmlFieldUnnamed);
    if (!kindWord) FailRead(kXmlFieldKind);
    const auto kind = KindFromWord(*kindWord);
    if (!kind) FailRead(kXmlFieldKind);
    field.kind = *kind;
    if (attrName) field.attributes |= kUnnamed;
    field.name = fieldName ? *fieldName : attrName ? *attrName : *tagName;
    if (field.name.size() > kMaxNameLength || (attrName && attrName->size() > kMaxNameLength)) {
      FailRead(kXmlFieldName);
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
    if (field.kind == FieldKind::String && !hasWidth) FailRead(kXmlFieldWidth);
    if (field.kind != FieldKind::Blob) return;
    const auto kind = BytesKind(field.subtype, hasWidth);
    if (!kind) FailRead(kXmlFieldWidth);
    field.kind = *kind;
  }

  void ReadDatasetParameters(const Tag& tag) {
    XmlCursor::ForEachAttribute(tag, [&](std::string_view name, std::string_view raw) {
      content_.parameters.push_back(AttributeParameter(name, cursor_.Decoded(raw)));
    });
    cursor_.Open(tag);
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
      if (result.ec != std::errc()) FailRead(kXmlChangeLog);
      numbers.push_back(n);
      i = static_cast<std::size_t>(result.ptr - text.data());
    }
    if (numbers.size() % 3 != 0) FailRead(kXmlChangeLog);
    for (std::size_t i = 0; i < numbers.size(); i += 3) {
      const auto kind = numbers[i + 2];
      if (kind != 2 && kind != 4 && kind != 8) FailRead(kXmlChangeLog);
      const bool modification = kind == 8;
      if (numbers[i] == 0 || numbers[i] > kNoVersion ||
          (modification && (numbers[i + 1] == 0 || numbers[i + 1] > kNoVersion))) {
        FailRead(kXmlChangeLog);
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
    const auto rest = static_cast<std::size_t>(cursor_.End() - cursor_.Position());
    content_.arena.Reserve(rest);
    content_.versions.reserve(rest / 64);
    const std::size_t depth = cursor_.Depth();
    bool first = true;
    for (;;) {
      cursor_.SkipBlanks();
      if (!cursor_.Utf8() && ReadPlainRow()) {
        first = false;
        continue;
      }
      const Tag tag = cursor_.NextTag();
      if (tag.end) {
        cursor_.Close(tag);  // the first end tag at row level ends the rows
        return;
      }
      if (first && tag.name != "ROW") FailRead(kXmlFirstRow);
      first = false;
      ReadRow(tag);
      cursor_.Open(tag);
      if (!tag.empty) ReadChildren(nullptr);
      if (cursor_.Depth() != depth) FailRead(kXmlEndTagMismatch);
    }
  }

  // The row as the writer writes it: "<ROW", attributes of the catch log's kinds in field
  // order, "/>". It is encoded in one pass, without a tag or slots. Anything else leaves
  // the reading where it was, for the general way to read or refuse; false then.
  bool ReadPlainRow() {
    const char* p = cursor_.Position();
    const char* const end_ = cursor_.End();
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
    cursor_.MoveTo(p);
    return true;
  }

  // Decodes a value up to its closing quote into `out`, sixteen bytes at a time where no
  // quote, reference or '>' stands. False, for the general way, where it cannot: a '>' (the
  // tag would end inside the value), the end of the data, or no room left before `limit`.
  bool CopyValue(const char*& p, char*& out, const char* limit) const {
    const char* const end_ = cursor_.End();
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
    XmlCursor::ForEachAttribute(tag, [&](std::string_view name, std::string_view value) {
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
        slot.other = ValueFromXmlText(fields[f], slot.raw, cursor_.Decoded(slot.raw));
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
        std::size_t length = Unescape(raw, cursor_.Utf8(), text);
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
        const std::size_t length = Unescape(raw, cursor_.Utf8(), text);
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

  XmlCursor cursor_;
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
