#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The kinds of value a field can hold. The catch log uses Date, String and Memo; the others
// come from data files that carry further fields, and are kept and written back.
enum class FieldKind : std::uint8_t {
  Date,
  String,
  Memo,        // bytes read and written as text
  Blob,        // bytes of any length, written as Base64
  FixedBytes,  // bytes of exactly the field's width
  VarBytes,    // bytes of at most the field's width
  Boolean,
  Int8,
  Int16,
  Int32,
  Int64,
  UInt8,
  UInt16,
  UInt32,
  UInt64,
  Float64,
  Float80,
  Fixed,
  FixedFmt,
  Time,
  DateTime,
  SqlDateTime,
  WideString,
  Nested,
  Struct,
  IntArray,
  UIntArray,
};

// How a kind is held in a stored entry (the binary packet form's row encoding): either a
// fixed number of bytes, or a length of `size` bytes followed by that many bytes.
struct ValueLayout {
  std::uint16_t size = 0;
  bool varying = false;
};

// Type code of the binary packet form (the low 6 bits of a column's type).
std::uint8_t BinaryTypeCode(FieldKind kind);

// The word of the data file's "fieldtype"; nullopt for kinds that can only be read (a structure
// holding such a field cannot be saved as XML). Memo and Blob both give "bin.hex".
std::optional<std::string_view> KindWord(FieldKind kind);

// Reads a "fieldtype" word (letter case ignored; "int" and "uint" stand for "i4" and "ui4").
// "bin.hex" gives Blob here: the field's subtype and width decide what it finally is.
std::optional<FieldKind> KindFromWord(std::string_view word);

// What a byte field ("bin.hex") holds, from its subtype: "Text" a memo, the large-object
// subtypes any number of bytes, none at all exactly its width (which it then needs), any
// other subtype at most its width. nullopt when it needs a width and has none.
std::optional<FieldKind> BytesKind(std::string_view subtype, bool hasWidth);

// The kind of a binary packet column from its type code, its size and its subtype.
std::optional<FieldKind> KindFromBinary(std::uint8_t code, std::uint16_t size, bool varying,
                                        std::string_view subtype);

// Whether values of the kind are large objects whose stored value a modified entry may share
// with the version it replaced.
bool IsLargeObject(FieldKind kind);

// Whether a field of the kind carries "WIDTH" when its width is not 0.
bool KindHasWidth(FieldKind kind);
