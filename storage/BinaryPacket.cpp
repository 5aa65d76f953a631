#include "storage/BinaryPacket.h"

#include <cstring>

#include "platform/Failure.h"
#include "storage/Base64.h"
#include "storage/KnownParameters.h"
#include "storage/PacketError.h"
#include "storage/ValueText.h"

namespace {

constexpr unsigned char kSignature[4] = {0x96, 0x19, 0xE0, 0xBD};
constexpr std::size_t kHeaderSize = 24;
constexpr std::uint16_t kVaryingType = 64;
constexpr std::uint32_t kVaryingParameter = 1u << 22;
constexpr std::uint32_t kRoundtripParameter = 1u << 23;
constexpr std::size_t kMaxNameLength = 31;

[[noreturn]] void Fail(PacketError code) {
  throw Failure(code, std::string());
}

void Put(ByteBuffer& out, std::uint64_t value, std::size_t size) {
  WriteLittleEndian(out.Room(size), value, size);
  out.Commit(size);
}

void PutName(ByteBuffer& out, std::string_view name) {
  Put(out, name.size(), 1);
  out.Append(name);
}

// How a parameter's value is encoded: the layout of its kind, strings with a 2-byte length
// and a terminating zero byte.
struct ParameterEncoding {
  ValueLayout layout;
  std::uint8_t code;
  std::string bytes;
};

bool IsByteKind(FieldKind kind) {
  return kind == FieldKind::Blob || kind == FieldKind::FixedBytes || kind == FieldKind::VarBytes;
}

ParameterEncoding EncodeParameter(const Parameter& parameter) {
  const auto asString = [&] {
    return ParameterEncoding{{2, true}, BinaryTypeCode(FieldKind::String), parameter.value + '\0'};
  };
  if (parameter.kind == FieldKind::String) return asString();
  // A parameter has no width or subtype of its own: its bytes are written as they come.
  if (IsByteKind(parameter.kind)) {
    return {{4, true}, BinaryTypeCode(FieldKind::Blob), DecodeBase64(parameter.value)};
  }
  const Field pseudo{.kind = parameter.kind};
  const auto value = ValueFromXmlText(pseudo, parameter.value, parameter.value);
  if (!value) return asString();
  return {LayoutOf(pseudo), BinaryTypeCode(parameter.kind), *value};
}

// False when the form cannot hold the parameter: a name of more than 255 bytes, or a value
// longer than its length can say.
bool PutParameter(ByteBuffer& out, const Parameter& parameter) {
  const auto encoding = EncodeParameter(parameter);
  if (parameter.name.size() > 255 ||
      (encoding.layout.varying &&
       encoding.bytes.size() > EntryLayout::MaxLength(encoding.layout))) {
    return false;
  }
  PutName(out, parameter.name);
  Put(out,
      encoding.layout.size | std::uint32_t{encoding.code} << 16 |
          (encoding.layout.varying ? kVaryingParameter : 0) |
          (parameter.roundtrip ? kRoundtripParameter : 0),
      4);
  if (encoding.layout.varying) {
    Put(out, encoding.bytes.size(), encoding.layout.size);
  }
  out.Append(encoding.bytes);
  return true;
}

// Width and decimals are 2-byte unsigned numbers; the subtype a zero-terminated string.
std::vector<Parameter> FieldParameters(const Field& field) {
  std::vector<Parameter> parameters;
  const auto number = [](std::string name, int value) {
    return Parameter{
        .name = std::move(name), .kind = FieldKind::UInt16, .value = std::to_string(value)};
  };
  const bool writesWidth = field.width != 0 && KindHasWidth(field.kind);
  const bool widthFirst = field.kind == FieldKind::FixedBytes;
  if (writesWidth && widthFirst) parameters.push_back(number("WIDTH", field.width));
  if (!field.subtype.empty())
    parameters.push_back(Parameter{.name = "SUBTYPE", .value = field.subtype});
  if (field.decimals != 0) parameters.push_back(number("DECIMALS", field.decimals));
  if (writesWidth && !widthFirst) parameters.push_back(number("WIDTH", field.width));
  if (field.calculated) {
    parameters.push_back(
        Parameter{.name = "CALCULATED", .kind = FieldKind::Boolean, .value = "TRUE"});
  }
  parameters.insert(parameters.end(), field.parameters.begin(), field.parameters.end());
  return parameters;
}

std::string ChangeLogText(const TableContent& content, const WrittenRows& rows) {
  std::string text;
  for (const auto& change : content.changes) {
    if (!text.empty()) text.push_back(' ');
    text += std::to_string(rows.rowOfVersion[change.version]) + ' ' +
            std::to_string(change.replaced == kNoVersion ? 0 : rows.rowOfVersion[change.replaced]) +
            ' ' + std::to_string(static_cast<int>(change.kind));
  }
  return text;
}

// A row as the packet holds it: a value is there only when its pair is 0; a modified row
// marks a large object it shares with the version it replaced as not changed, without bytes.
void PutRow(ByteBuffer& out, const EntryLayout& layout, const StoredVersion& version,
            std::uint8_t state) {
  Put(out, state, 1);
  const std::size_t statusAt = out.Size();
  out.Append(std::string_view(version.entry, layout.StatusBytes()));
  const bool modified = state & kRowModified;
  layout.ForEach(version.entry, [&](std::size_t f, unsigned status, std::string_view value) {
    if (status & EntryLayout::kAbsent) return;
    if (modified && (status & EntryLayout::kShared)) {
      EntryLayout::SetStatus(out.Data() + statusAt, f, EntryLayout::kShared);
      return;
    }
    EntryLayout::SetStatus(out.Data() + statusAt, f, 0);
    const auto& l = layout.Layout(f);
    if (l.varying) Put(out, value.size(), l.size);
    out.Append(value);
  });
}

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Position() const { return at_; }
  void Seek(std::size_t at) {
    if (at > bytes_.size()) Fail(kBinaryTruncated);
    at_ = at;
  }
  std::uint64_t Number(std::size_t size) {
    const auto bytes = Bytes(size);
    return ReadLittleEndian(bytes.data(), size);
  }
  std::string_view Bytes(std::size_t size) {
    if (size > bytes_.size() - at_) Fail(kBinaryTruncated);
    const auto bytes = bytes_.substr(at_, size);
    at_ += size;
    return bytes;
  }
  std::string_view Rest() const { return bytes_.substr(at_); }
  std::string_view Since(std::size_t start) const { return bytes_.substr(start, at_ - start); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// Names and parameter texts never hold a zero byte: the XML data file could not write one.
std::string Name(std::string_view bytes) {
  std::string name(bytes);
  std::erase(name, '\0');
  return name;
}

Parameter ReadParameter(ByteReader& reader) {
  Parameter parameter;
  parameter.name = Name(reader.Bytes(reader.Number(1)));
  const auto type = static_cast<std::uint32_t>(reader.Number(4));
  const auto size = static_cast<std::uint16_t>(type & 0xFFFF);
  const auto code = static_cast<std::uint8_t>((type >> 16) & 63);
  const bool varying = type & kVaryingParameter;
  parameter.roundtrip = type & kRoundtripParameter;
  if (varying && size != 1 && size != 2 && size != 4) Fail(kBinaryDescriptor);
  const auto value = varying ? reader.Bytes(reader.Number(size)) : reader.Bytes(size);
  const auto kind = code == BinaryTypeCode(FieldKind::Blob)
                        ? std::optional(varying ? FieldKind::Blob : FieldKind::FixedBytes)
                        : KindFromBinary(code, size, varying, "");
  // Kinds that hold no value of their own, or that the data file cannot name, come as text.
  if (!kind || *kind == FieldKind::String || *kind == FieldKind::Nested || !KindWord(*kind)) {
    parameter.kind = FieldKind::String;
    parameter.value = Name(value);  // the terminating zero byte goes, and any other
  } else {
    parameter.kind = *kind;
    Field pseudo{.kind = *kind};
    if (*kind == FieldKind::FixedBytes) pseudo.width = size;
    if (!IsValidStoredValue(pseudo, value)) Fail(kBinaryValue);
    parameter.value = XmlText(pseudo, value);
  }
  return parameter;
}

int NumberParameter(const Parameter& parameter) {
  return static_cast<int>(std::strtol(parameter.value.c_str(), nullptr, 10));
}

Field ReadDescriptor(ByteReader& reader) {
  Field field;
  const auto nameLength = reader.Number(1);
  if (nameLength > kMaxNameLength) Fail(kBinaryDescriptor);
  field.name = Name(reader.Bytes(nameLength));
  const auto size = static_cast<std::uint16_t>(reader.Number(2));
  const auto type = static_cast<std::uint16_t>(reader.Number(2));
  field.attributes = static_cast<std::uint16_t>(reader.Number(2));
  const auto parameterCount = reader.Number(2);
  bool hasWidth = false;
  for (std::uint64_t i = 0; i < parameterCount; ++i) {
    Parameter parameter = ReadParameter(reader);
    if (parameter.name == "WIDTH") {
      field.width = NumberParameter(parameter);
      hasWidth = true;
    } else if (parameter.name == "DECIMALS") {
      field.decimals = NumberParameter(parameter);
    } else if (parameter.name == "SUBTYPE") {
      field.subtype = Name(parameter.value);
    } else if (parameter.name == "CALCULATED") {
      field.calculated = parameter.value == "TRUE";
    } else {
      field.parameters.push_back(std::move(parameter));
    }
  }
  const auto kind = KindFromBinary(type & 63, size, type & kVaryingType, field.subtype);
  if (!kind) Fail(kBinaryDescriptor);
  field.kind = *kind;
  if (field.kind == FieldKind::FixedBytes) {
    if (hasWidth && field.width != size) Fail(kBinaryDescriptor);
    field.width = size;
  }
  if (field.kind == FieldKind::String && (!hasWidth || field.width < 1)) Fail(kBinaryDescriptor);
  if (field.width < 0 || field.width > 32767) Fail(kBinaryDescriptor);
  // Values are read by the layout the kind has here, which must be the one the packet gives.
  const auto layout = LayoutOf(field);
  if (layout.size != size || layout.varying != ((type & kVaryingType) != 0))
    Fail(kBinaryDescriptor);
  return field;
}

void ReadChangeLog(std::string_view text, TableContent& content) {
  std::vector<std::uint64_t> numbers;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    char* end = nullptr;
    const std::string number(text.substr(i, text.find(' ', i) - i));
    numbers.push_back(std::strtoull(number.c_str(), &end, 10));
    if (*end != '\0') Fail(kBinaryChangeLog);
    i += number.size();
  }
  if (numbers.size() % 3 != 0) Fail(kBinaryChangeLog);
  for (std::size_t i = 0; i < numbers.size(); i += 3) {
    const auto kind = numbers[i + 2];
    const bool modification = kind == 8;
    if ((kind != 2 && kind != 4 && !modification) || numbers[i] == 0 || numbers[i] > kNoVersion ||
        (modification && (numbers[i + 1] == 0 || numbers[i + 1] > kNoVersion))) {
      Fail(kBinaryChangeLog);
    }
    content.changes.push_back(
        Change{static_cast<ChangeKind>(kind), static_cast<std::uint32_t>(numbers[i] - 1),
               modification ? static_cast<std::uint32_t>(numbers[i + 1] - 1) : kNoVersion});
  }
}

// Copies one row into the table: the packet's pairs become the entry's statuses (a value that
// is not changed and has no bytes is taken later from the version it replaced).
void ReadRow(ByteReader& reader, const EntryLayout& layout, TableContent& content) {
  const auto state = static_cast<std::uint8_t>(reader.Number(1) & 0x0F);
  const std::string_view status = reader.Bytes(layout.StatusBytes());
  std::string entry(status);
  for (std::size_t f = 0; f < layout.FieldCount(); ++f) {
    const unsigned pair = EntryLayout::Status(status.data(), f);
    const bool shares = pair == EntryLayout::kShared && (state & kRowModified) &&
                        IsLargeObject(content.fields[f].kind);
    if (pair != 0) {
      EntryLayout::SetStatus(
          entry.data(), f,
          shares ? EntryLayout::kAbsent | EntryLayout::kShared : EntryLayout::kAbsent);
      continue;
    }
    const auto& l = layout.Layout(f);
    const std::size_t start = reader.Position();
    std::string_view value;
    if (l.varying) {
      value = reader.Bytes(reader.Number(l.size));
    } else {
      value = reader.Bytes(l.size);
    }
    const auto& field = content.fields[f];
    if (!IsValidStoredValue(field, value) ||
        (field.kind == FieldKind::String && value.size() > static_cast<std::size_t>(field.width))) {
      Fail(kBinaryValue);
    }
    if ((field.kind == FieldKind::Memo && value.empty()) || field.kind == FieldKind::Nested ||
        field.kind == FieldKind::Struct) {
      // A memo is either absent or holds text, as the record store makes it; a nested table
      // or a structure holds no value of its own here, as in the XML data file.
      EntryLayout::SetStatus(entry.data(), f, EntryLayout::kAbsent);
      continue;
    }
    entry.append(reader.Since(start));
  }
  content.Store(entry, state);
}

}  // namespace

bool IsBinaryPacket(std::string_view packet) {
  if (packet.size() < 8 || std::memcmp(packet.data(), kSignature, 4) != 0) return false;
  return ReadLittleEndian(packet.data() + 4, 2) <= 3 && ReadLittleEndian(packet.data() + 6, 2) <= 3;
}

std::optional<ByteBuffer> WriteBinaryPacket(const TableContent& content) {
  if (content.fields.size() > 0xFFFF) return std::nullopt;
  const WrittenRows rows = RowsToWrite(content);
  const EntryLayout layout(content.fields);

  ByteBuffer out;
  std::size_t estimate = 4096;
  for (const auto v : rows.versions)
    estimate += 1 + content.versions[v].size;
  out.Reserve(estimate);
  out.Append(std::string_view(reinterpret_cast<const char*>(kSignature), 4));
  Put(out, 1, 2);  // version
  Put(out, 0, 2);  // sub-version
  Put(out, kHeaderSize, 4);
  Put(out, content.fields.size(), 2);
  Put(out, rows.versions.size(), 4);
  Put(out, 1, 2);  // flags
  Put(out, 0, 2);  // reserved
  Put(out, 0, 2);  // first-row offset, below

  for (const auto& field : content.fields) {
    PutName(out, field.name);
    const auto l = LayoutOf(field);
    Put(out, l.size, 2);
    Put(out, BinaryTypeCode(field.kind) + (l.varying ? kVaryingType : 0), 2);
    Put(out, field.attributes, 2);
    const auto parameters = FieldParameters(field);
    if (parameters.size() > 0xFFFF) return std::nullopt;
    Put(out, parameters.size(), 2);
    for (const auto& parameter : parameters) {
      if (!PutParameter(out, parameter)) return std::nullopt;
    }
  }

  std::vector<Parameter> parameters = content.parameters;
  if (!content.changes.empty()) {
    parameters.push_back(Parameter{
        .name = "CHANGE_LOG", .kind = FieldKind::UIntArray, .value = ChangeLogText(content, rows)});
  }
  if (parameters.size() > 0xFFFF) return std::nullopt;
  Put(out, parameters.size(), 2);
  for (const auto& parameter : parameters) {
    if (!PutParameter(out, parameter)) return std::nullopt;
  }

  if (out.Size() <= 0xFFFF) {
    WriteLittleEndian(out.Data() + 18, 3, 2);
    WriteLittleEndian(out.Data() + 22, out.Size(), 2);
  }
  for (const auto v : rows.versions) {
    const auto& version = content.versions[v];
    PutRow(out, layout, version, content.changes.empty() ? 0 : version.state);
  }
  return out;
}

TableContent ReadBinaryPacket(std::string_view packet) {
  ByteReader reader(packet);
  reader.Seek(8);
  const auto headerSize = reader.Number(4);
  const auto columns = reader.Number(2);
  const auto rowCount = reader.Number(4);
  const auto flags = reader.Number(2);
  reader.Number(2);  // reserved
  const auto firstRow = reader.Number(2);
  reader.Seek(headerSize);

  // As in the XML data file, a structure has at least one field.
  if (columns == 0) Fail(kBinaryDescriptor);
  TableContent content;
  for (std::uint64_t c = 0; c < columns; ++c)
    content.fields.push_back(ReadDescriptor(reader));
  const auto parameterCount = reader.Number(2);
  for (std::uint64_t i = 0; i < parameterCount; ++i) {
    Parameter parameter = ReadParameter(reader);
    if (parameter.name == "CHANGE_LOG") {
      ReadChangeLog(parameter.value, content);
    } else {
      content.parameters.push_back(std::move(parameter));
    }
  }
  if (flags & 2) reader.Seek(firstRow);

  const EntryLayout layout(content.fields);
  // Every row takes at least its state and status bytes: a row count the packet cannot hold
  // fails before anything is reserved for it.
  if (rowCount > reader.Rest().size() / (1 + layout.StatusBytes())) Fail(kBinaryTruncated);
  content.versions.reserve(rowCount);
  for (std::uint64_t r = 0; r < rowCount; ++r)
    ReadRow(reader, layout, content);
  if (!content.RestoreOrder()) Fail(kBinaryChangeLog);
  return content;
}
