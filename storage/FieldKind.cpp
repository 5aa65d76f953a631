#include "storage/FieldKind.h"

#include <array>

#include "platform/CodePage.h"

namespace {

struct KindInfo {
  FieldKind kind;
  std::uint8_t code;
  std::string_view word;  // empty: read only
};

// Codes 1 to 11 follow the binary packet form; the rest are this program's own.
constexpr std::array<KindInfo, 27> kKinds{{
    {FieldKind::Date, 6, "date"},
    {FieldKind::String, 9, "string"},
    {FieldKind::Memo, 11, "bin.hex"},
    {FieldKind::Blob, 11, "bin.hex"},
    {FieldKind::FixedBytes, 11, "bin.hex"},
    {FieldKind::VarBytes, 11, "bin.hex"},
    {FieldKind::Boolean, 3, "boolean"},
    {FieldKind::Int8, 1, "i1"},
    {FieldKind::Int16, 1, "i2"},
    {FieldKind::Int32, 1, "i4"},
    {FieldKind::Int64, 1, ""},
    {FieldKind::UInt8, 2, "ui1"},
    {FieldKind::UInt16, 2, "ui2"},
    {FieldKind::UInt32, 2, "ui4"},
    {FieldKind::UInt64, 2, ""},
    {FieldKind::Float64, 4, "r8"},
    {FieldKind::Float80, 4, ""},
    {FieldKind::Fixed, 5, "fixed"},
    {FieldKind::FixedFmt, 16, "fixedFMT"},
    {FieldKind::Time, 7, "time"},
    {FieldKind::DateTime, 8, "dateTime"},
    {FieldKind::SqlDateTime, 15, "SQLdateTime"},
    {FieldKind::WideString, 10, "string.uni"},
    {FieldKind::Nested, 14, "nested"},
    {FieldKind::Struct, 12, ""},
    {FieldKind::IntArray, 13, "IntArray"},
    {FieldKind::UIntArray, 17, "UIntArray"},
}};

constexpr bool KindsInEnumOrder() {
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(KindsInEnumOrder());

const KindInfo& InfoOf(FieldKind kind) {
  return kKinds[static_cast<std::size_t>(kind)];
}

struct ReadWord {
  std::string_view word;
  FieldKind kind;
};

constexpr std::array<ReadWord, 26> kReadWords{{
    {"date", FieldKind::Date},
    {"string", FieldKind::String},
    {"bin.hex", FieldKind::Blob},
    {"boolean", FieldKind::Boolean},
    {"i1", FieldKind::Int8},
    {"i2", FieldKind::Int16},
    {"i4", FieldKind::Int32},
    {"int", FieldKind::Int32},
    {"i8", FieldKind::Int64},
    {"ui1", FieldKind::UInt8},
    {"ui2", FieldKind::UInt16},
    {"ui4", FieldKind::UInt32},
    {"uint", FieldKind::UInt32},
    {"ui8", FieldKind::UInt64},
    {"r8", FieldKind::Float64},
    {"r10", FieldKind::Float80},
    {"fixed", FieldKind::Fixed},
    {"fixedFMT", FieldKind::FixedFmt},
    {"time", FieldKind::Time},
    {"dateTime", FieldKind::DateTime},
    {"SQLdateTime", FieldKind::SqlDateTime},
    {"string.uni", FieldKind::WideString},
    {"nested", FieldKind::Nested},
    {"struct", FieldKind::Struct},
    {"IntArray", FieldKind::IntArray},
    {"UIntArray", FieldKind::UIntArray},
}};

}  // namespace

std::uint8_t BinaryTypeCode(FieldKind kind) {
  return InfoOf(kind).code;
}

std::optional<std::string_view> KindWord(FieldKind kind) {
  const auto word = InfoOf(kind).word;
  if (word.empty()) return std::nullopt;
  return word;
}

std::optional<FieldKind> KindFromWord(std::string_view word) {
  for (const auto& entry : kReadWords) {
    if (cp932::SameText(entry.word, word)) return entry.kind;
  }
  return std::nullopt;
}

std::optional<FieldKind> BytesKind(std::string_view subtype, bool hasWidth) {
  static constexpr std::string_view kLargeObjects[] = {"Binary",   "Formatted", "Ole",
                                                       "Graphics", "dBASEOle",  "TypedBinary"};
  if (subtype == "Text") return FieldKind::Memo;
  for (const auto word : kLargeObjects) {
    if (subtype == word) return FieldKind::Blob;
  }
  if (subtype.empty()) return hasWidth ? std::optional(FieldKind::FixedBytes) : std::nullopt;
  return FieldKind::VarBytes;
}

std::optional<FieldKind> KindFromBinary(std::uint8_t code, std::uint16_t size, bool varying,
                                        std::string_view subtype) {
  const auto fixed = [&](FieldKind kind, std::uint16_t expected) -> std::optional<FieldKind> {
    if (varying || size != expected) return std::nullopt;
    return kind;
  };
  const auto vary = [&](FieldKind kind) -> std::optional<FieldKind> {
    if (!varying || (size != 1 && size != 2 && size != 4)) return std::nullopt;
    return kind;
  };
  switch (code) {
    case 1:
      if (varying) return std::nullopt;
      if (size == 1) return FieldKind::Int8;
      if (size == 2) return FieldKind::Int16;
      if (size == 4) return FieldKind::Int32;
      if (size == 8) return FieldKind::Int64;
      return std::nullopt;
    case 2:
      if (varying) return std::nullopt;
      if (size == 1) return FieldKind::UInt8;
      if (size == 2) return FieldKind::UInt16;
      if (size == 4) return FieldKind::UInt32;
      if (size == 8) return FieldKind::UInt64;
      return std::nullopt;
    case 3:
      return fixed(FieldKind::Boolean, 2);
    case 4:
      return size == 10 ? fixed(FieldKind::Float80, 10) : fixed(FieldKind::Float64, 8);
    case 5:
      return vary(FieldKind::Fixed);
    case 6:
      return fixed(FieldKind::Date, 4);
    case 7:
      return fixed(FieldKind::Time, 4);
    case 8:
      return fixed(FieldKind::DateTime, 8);
    case 9:
      return vary(FieldKind::String);
    case 10:
      return vary(FieldKind::WideString);
    case 11:
      // The layout that goes with the kind is checked by the caller.
      return BytesKind(subtype, !varying && size > 0);
    case 12:
      return vary(FieldKind::Struct);
    case 13:
      return vary(FieldKind::IntArray);
    case 14:
      return vary(FieldKind::Nested);
    case 15:
      return vary(FieldKind::SqlDateTime);
    case 16:
      return vary(FieldKind::FixedFmt);
    case 17:
      return vary(FieldKind::UIntArray);
    default:
      return std::nullopt;
  }
}

bool IsLargeObject(FieldKind kind) {
  return kind == FieldKind::Memo || kind == FieldKind::Blob;
}

bool KindHasWidth(FieldKind kind) {
  switch (kind) {
    case FieldKind::String:
    case FieldKind::WideString:
    case FieldKind::Memo:
    case FieldKind::Blob:
    case FieldKind::FixedBytes:
    case FieldKind::VarBytes:
    case FieldKind::Fixed:
    case FieldKind::FixedFmt:
      return true;
    default:
      return false;
  }
}
