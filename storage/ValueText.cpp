#include "storage/ValueText.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/Calendar.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/JapaneseLocale.h"
#include "platform/MessageText.h"
#include "storage/Base64.h"
#include "storage/EntryLayout.h"
#include "storage/XmlText.h"

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

std::int64_t SignedValue(std::string_view value) {
  const auto raw = ReadLittleEndian(value.data(), value.size());
  const unsigned bits = static_cast<unsigned>(value.size()) * 8;
  if (bits < 64 && (raw >> (bits - 1)) & 1) return static_cast<std::int64_t>(raw | (~0ULL << bits));
  return static_cast<std::int64_t>(raw);
}

std::string LittleEndian(std::uint64_t value, std::size_t size) {
  std::string bytes(size, '\0');
  WriteLittleEndian(bytes.data(), value, size);
  return bytes;
}

int DayOf(std::string_view value) {
  return static_cast<int>(SignedValue(value));
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number number{};
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return number;
}

std::optional<std::string> IntegerValue(std::string_view text, std::size_t size, bool isSigned) {
  if (isSigned) {
    const auto n = ParseNumber<std::int64_t>(text);
    const unsigned bits = static_cast<unsigned>(size) * 8;
    if (!n) return std::nullopt;
    if (bits < 64 &&
        (*n < -(std::int64_t{1} << (bits - 1)) || *n >= (std::int64_t{1} << (bits - 1)))) {
      return std::nullopt;
    }
    return LittleEndian(static_cast<std::uint64_t>(*n), size);
  }
  const auto n = ParseNumber<std::uint64_t>(text);
  if (!n || (size < 8 && *n >> (8 * size))) return std::nullopt;
  return LittleEndian(*n, size);
}

void AppendTime(std::string& out, std::int64_t milliseconds) {
  const auto hours = milliseconds / 3'600'000;
  const auto minutes = milliseconds / 60'000 % 60;
  const auto rest = milliseconds % 60'000;
  char text[32];
  const auto put = [&](std::int64_t v, int digits) {
    for (int i = digits - 1; i >= 0; --i, v /= 10)
      text[i] = static_cast<char>('0' + v % 10);
    out.append(text, static_cast<std::size_t>(digits));
  };
  put(hours, 2);
  out.push_back(':');
  put(minutes, 2);
  out.push_back(':');
  put(rest, 5);
}

// "hh:mm:sssss": the digits in order, two for the hour, two for the minute, up to five for
// the milliseconds within the minute.
std::optional<std::int64_t> MillisecondsOfTime(std::string_view text) {
  int digits[9];
  int n = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9' && n < 9) digits[n++] = c - '0';
  }
  if (n < 4) return std::nullopt;
  const int hour = digits[0] * 10 + digits[1];
  const int minute = digits[2] * 10 + digits[3];
  int rest = 0;
  for (int i = 4; i < n; ++i)
    rest = rest * 10 + digits[i];
  if (hour > 23 || minute > 59 || rest >= 60'000) return std::nullopt;
  return std::int64_t{hour} * 3'600'000 + minute * 60'000 + rest;
}

bool ValidDay(std::int64_t day) {
  return day >= kFirstDayNumber && day <= kLastDayNumber;
}

std::string IntArrayText(std::string_view value, bool isSigned) {
  std::string text;
  for (std::size_t i = 0; i + 4 <= value.size(); i += 4) {
    if (!text.empty()) text.push_back(' ');
    const auto raw = ReadLittleEndian(value.data() + i, 4);
    text += isSigned ? std::to_string(static_cast<std::int32_t>(raw)) : std::to_string(raw);
  }
  return text;
}

std::optional<std::string> IntArrayValue(std::string_view text, bool isSigned) {
  std::string value;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto space = text.find(' ', i);
    const auto number = text.substr(i, space == std::string_view::npos ? text.npos : space - i);
    const auto bytes = IntegerValue(number, 4, isSigned);
    if (!bytes) return std::nullopt;
    value += *bytes;
    if (space == std::string_view::npos) break;
    i = space + 1;
  }
  return value;
}

template <typename Float>
std::string FloatText(std::string_view value, int digits) {
  Float number{};
  std::memcpy(&number, value.data(), std::min(sizeof(Float), value.size()));
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, number, std::chars_format::general, digits);
  return std::string(text, result.ptr);
}

template <typename Float>
std::optional<std::string> FloatValue(std::string_view text, std::size_t size) {
  const auto number = ParseNumber<Float>(text);
  if (!number) return std::nullopt;
  std::string value(size, '\0');
  std::memcpy(value.data(), &*number, std::min(sizeof(Float), size));
  return value;
}

std::string CappedText(std::string_view text, const Field& field) {
  return std::string(text.substr(0, EntryLayout::MaxLength(LayoutOf(field))));
}

// The text form shared by the field text and the file for the kinds the catch log does not
// use; nullopt where it does not decode.
std::optional<std::string> ValueFromCommonText(const Field& field, std::string_view text) {
  switch (field.kind) {
    case FieldKind::Boolean:
      if (cp932::SameText(text, "TRUE")) return LittleEndian(1, 2);
      if (cp932::SameText(text, "FALSE")) return LittleEndian(0, 2);
      return std::nullopt;
    case FieldKind::Int8:
      return IntegerValue(text, 1, true);
    case FieldKind::Int16:
      return IntegerValue(text, 2, true);
    case FieldKind::Int32:
      return IntegerValue(text, 4, true);
    case FieldKind::Int64:
      return IntegerValue(text, 8, true);
    case FieldKind::UInt8:
      return IntegerValue(text, 1, false);
    case FieldKind::UInt16:
      return IntegerValue(text, 2, false);
    case FieldKind::UInt32:
      return IntegerValue(text, 4, false);
    case FieldKind::UInt64:
      return IntegerValue(text, 8, false);
    case FieldKind::Float64:
      return FloatValue<double>(text, 8);
    case FieldKind::Float80:
      return FloatValue<long double>(text, 10);
    case FieldKind::Time: {
      const auto ms = MillisecondsOfTime(text);
      if (!ms) return std::nullopt;
      return LittleEndian(static_cast<std::uint64_t>(*ms), 4);
    }
    case FieldKind::DateTime: {
      const auto t = text.find('T');
      const auto day = DayNumberFromXmlDate(text.substr(0, t));
      if (!day) return std::nullopt;
      std::int64_t ms = 0;
      if (t != std::string_view::npos) {
        const auto time = MillisecondsOfTime(text.substr(t + 1));
        if (!time) return std::nullopt;
        ms = *time;
      }
      return LittleEndian(static_cast<std::uint64_t>(*day * kMillisecondsPerDay + ms), 8);
    }
    case FieldKind::IntArray:
      return IntArrayValue(text, true);
    case FieldKind::UIntArray:
      return IntArrayValue(text, false);
    case FieldKind::Nested:
    case FieldKind::Struct:
      return std::nullopt;
    default:
      return CappedText(text, field);
  }
}

std::string CommonText(const Field& field, std::string_view value) {
  switch (field.kind) {
    case FieldKind::Boolean:
      return ReadLittleEndian(value.data(), 2) ? "TRUE" : "FALSE";
    case FieldKind::Int8:
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Int64:
      return std::to_string(SignedValue(value));
    case FieldKind::UInt8:
    case FieldKind::UInt16:
    case FieldKind::UInt32:
    case FieldKind::UInt64:
      return std::to_string(ReadLittleEndian(value.data(), value.size()));
    case FieldKind::Float64:
      return FloatText<double>(value, 16);
    case FieldKind::Float80:
      return FloatText<long double>(value, 19);
    case FieldKind::Time: {
      std::string text;
      AppendTime(text, static_cast<std::int64_t>(ReadLittleEndian(value.data(), 4)));
      return text;
    }
    case FieldKind::DateTime: {
      const auto all = SignedValue(value);
      std::string text(8, '0');
      XmlDateTo(text.data(), static_cast<int>(all / kMillisecondsPerDay));
      if (const auto ms = all % kMillisecondsPerDay) {
        text.push_back('T');
        AppendTime(text, ms);
      }
      return text;
    }
    case FieldKind::IntArray:
      return IntArrayText(value, true);
    case FieldKind::UIntArray:
      return IntArrayText(value, false);
    default:
      return std::string(value);
  }
}

bool IsBinaryKind(FieldKind kind) {
  return kind == FieldKind::Blob || kind == FieldKind::FixedBytes || kind == FieldKind::VarBytes;
}

}  // namespace

std::string FieldText(const Field& field, std::string_view value) {
  switch (field.kind) {
    case FieldKind::Date:
      return japanese_locale::FormatShortDate(DayOf(value));
    case FieldKind::String:
    case FieldKind::Memo:
    case FieldKind::Blob:
    case FieldKind::FixedBytes:
    case FieldKind::VarBytes:
      return std::string(value);
    default:
      return CommonText(field, value);
  }
}

std::optional<std::string> ValueFromFieldText(const Field& field, std::string_view text) {
  switch (field.kind) {
    case FieldKind::Date: {
      if (text.empty()) return std::nullopt;
      const auto day = japanese_locale::ParseShortDate(text);
      if (!day) throw Failure(FormatText(Cp932("'%s' is not a valid date"), {text}));
      return LittleEndian(static_cast<std::uint32_t>(*day), 4);
    }
    case FieldKind::String: {
      auto cut = cp932::CutToWidth(text, static_cast<std::size_t>(field.width));
      while (!cut.empty() && cut.back() == ' ')
        cut.remove_suffix(1);
      return std::string(cut);
    }
    case FieldKind::FixedBytes: {
      std::string bytes(text.substr(0, static_cast<std::size_t>(field.width)));
      bytes.resize(static_cast<std::size_t>(field.width), '\0');
      return bytes;
    }
    default: {
      if (text.empty()) return std::nullopt;
      if (field.kind == FieldKind::Memo || IsBinaryKind(field.kind)) return CappedText(text, field);
      auto value = ValueFromCommonText(field, text);
      if (!value) throw Failure(FormatText(Cp932("'%s' is not a valid value"), {text}));
      return value;
    }
  }
}

std::string XmlText(const Field& field, std::string_view value) {
  switch (field.kind) {
    case FieldKind::Date: {
      std::string text(8, '0');
      XmlDateTo(text.data(), DayOf(value));
      return text;
    }
    case FieldKind::String:
    case FieldKind::Memo:
      return std::string(value);
    case FieldKind::Blob:
    case FieldKind::FixedBytes:
    case FieldKind::VarBytes: {
      std::string text;
      AppendBase64(text, value);
      return text;
    }
    default:
      return CommonText(field, value);
  }
}

char* XmlValueTo(char* out, const Field& field, std::string_view value) {
  switch (field.kind) {
    case FieldKind::Date:
      return XmlDateTo(out, DayOf(value));
    case FieldKind::String:
    case FieldKind::Memo:
      return EscapeTo(out, value);
    default:
      // Base64 and the numbers' texts are shorter than 6 bytes for each byte they stand for.
      return EscapeTo(out, XmlText(field, value));
  }
}

std::optional<std::string> ValueFromXmlText(const Field& field, std::string_view raw,
                                            std::string_view decoded) {
  switch (field.kind) {
    case FieldKind::Date: {
      const auto day = DayNumberFromXmlDate(raw);
      if (!day) return std::nullopt;
      return LittleEndian(static_cast<std::uint32_t>(*day), 4);
    }
    case FieldKind::String:
      return std::string(cp932::CutToWidth(decoded, static_cast<std::size_t>(field.width)));
    case FieldKind::Memo:
      // An empty memo is never written; reading one as absent lets a later save write it whole.
      if (decoded.empty()) return std::nullopt;
      return CappedText(decoded, field);
    case FieldKind::Blob:
    case FieldKind::VarBytes:
      return CappedText(DecodeBase64(decoded), field);
    case FieldKind::FixedBytes: {
      auto bytes = DecodeBase64(decoded);
      bytes.resize(static_cast<std::size_t>(field.width), '\0');
      return bytes;
    }
    default:
      return ValueFromCommonText(field, decoded);
  }
}

char* XmlDateTo(char* out, int dayNumber) {
  static constexpr char kDigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  const auto date = CivilFromDayNumber(dayNumber);
  const auto pair = [&](unsigned value) {
    *out++ = kDigitPairs[2 * value];
    *out++ = kDigitPairs[2 * value + 1];
  };
  const auto year = static_cast<unsigned>(date.year);
  pair(year / 100);
  pair(year % 100);
  pair(static_cast<unsigned>(date.month));
  pair(static_cast<unsigned>(date.day));
  return out;
}

std::optional<int> DayNumberFromXmlDate(std::string_view raw) {
  int digits[8];
  int n = 0;
  for (const char c : raw) {
    if (c < '0' || c > '9') continue;
    digits[n++] = c - '0';
    if (n == 8) break;
  }
  if (n < 7) return std::nullopt;
  const CivilDate date{digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3],
                       digits[4] * 10 + digits[5], n == 7 ? digits[6] : digits[6] * 10 + digits[7]};
  return DayNumberFromCivil(date);
}

bool IsValidStoredValue(const Field& field, std::string_view value) {
  switch (field.kind) {
    case FieldKind::Date:
      return ValidDay(DayOf(value));
    case FieldKind::Time:
      return ReadLittleEndian(value.data(), 4) < kMillisecondsPerDay;
    case FieldKind::DateTime: {
      const auto all = SignedValue(value);
      return all >= 0 && ValidDay(all / kMillisecondsPerDay);
    }
    default:
      return true;
  }
}
