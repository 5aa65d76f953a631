#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/FieldKind.h"

// A parameter of a field or of the whole packet. The value is held as text, the way the XML
// data file writes it; `kind` says how the binary packet form encodes it.
struct Parameter {
  std::string name;
  FieldKind kind = FieldKind::String;
  std::string value;
  bool roundtrip = false;
  bool operator==(const Parameter&) const = default;
};

// Attribute bits of a field.
enum FieldAttribute : std::uint16_t {
  kHidden = 1,
  kReadOnly = 2,
  kRequired = 4,
  kLinkField = 8,
  kUnnamed = 16,
};

struct Field {
  std::string name;
  FieldKind kind = FieldKind::String;
  int width = 0;  // bytes for strings and byte fields; 0 when the field has none
  int decimals = 0;
  std::string subtype;  // "SUBTYPE" word, empty when there is none
  std::uint16_t attributes = 0;
  bool calculated = false;
  std::vector<Parameter> parameters;  // every other field parameter, in the order given
  bool operator==(const Field&) const = default;
};

// How a field's value is held in an encoded entry.
ValueLayout LayoutOf(const Field& field);

// The width the grid gives a column, in characters.
int DisplayWidth(const Field& field);

// Field names as the writer turns them into attribute names: " !#$%()*?" become "_", and a
// name holding a double-byte character becomes "xF" and the field's position.
std::string RowAttributeName(const Field& field, std::size_t position);

// The stored empty structure of the catch log: Date, Weather, Name, Size, Place, Memo, PicName.
std::vector<Field> CatchLogFields();
