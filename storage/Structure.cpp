#include "storage/Structure.h"

#include "platform/CodePage.h"

ValueLayout LayoutOf(const Field& field) {
  switch (field.kind) {
    case FieldKind::Date:
    case FieldKind::Int32:
    case FieldKind::UInt32:
    case FieldKind::Time:
      return {4, false};
    case FieldKind::Int8:
    case FieldKind::UInt8:
      return {1, false};
    case FieldKind::Int16:
    case FieldKind::UInt16:
    case FieldKind::Boolean:
      return {2, false};
    case FieldKind::Int64:
    case FieldKind::UInt64:
    case FieldKind::Float64:
    case FieldKind::DateTime:
      return {8, false};
    case FieldKind::Float80:
      return {10, false};
    case FieldKind::FixedBytes:
      return {static_cast<std::uint16_t>(field.width), false};
    case FieldKind::String:
      return {static_cast<std::uint16_t>(field.width > 255 ? 2 : 1), true};
    case FieldKind::Fixed:
    case FieldKind::FixedFmt:
    case FieldKind::SqlDateTime:
      return {1, true};
    case FieldKind::WideString:
    case FieldKind::VarBytes:
      return {2, true};
    case FieldKind::Memo:
    case FieldKind::Blob:
    case FieldKind::Nested:
    case FieldKind::Struct:
    case FieldKind::IntArray:
    case FieldKind::UIntArray:
      return {4, true};
  }
  return {4, true};
}

int DisplayWidth(const Field& field) {
  switch (field.kind) {
    case FieldKind::String:
    case FieldKind::WideString:
    case FieldKind::FixedBytes:
    case FieldKind::VarBytes:
      return field.width;
    default:
      return 10;
  }
}

std::string RowAttributeName(const Field& field, std::size_t position) {
  std::string name = field.name;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (cp932::CharLength(name, i) == 2) return "xF" + std::to_string(position);
    // Control bytes, '=' and '>' would end the attribute name in the file: they go as well.
    if (static_cast<unsigned char>(name[i]) < ' ' || name[i] == '=' || name[i] == '>') {
      name[i] = '_';
      continue;
    }
    switch (name[i]) {
      case ' ':
      case '!':
      case '#':
      case '$':
      case '%':
      case '(':
      case ')':
      case '*':
      case '?':
        name[i] = '_';
        break;
      default:
        break;
    }
  }
  return name;
}

std::vector<Field> CatchLogFields() {
  const auto text = [](const char* name) {
    return Field{.name = name, .kind = FieldKind::String, .width = 20, .attributes = kUnnamed};
  };
  return {
      Field{.name = "Date", .kind = FieldKind::Date, .attributes = kUnnamed},
      text("Weather"),
      text("Name"),
      text("Size"),
      text("Place"),
      Field{.name = "Memo", .kind = FieldKind::Memo, .subtype = "Text", .attributes = kUnnamed},
      text("PicName"),
  };
}
