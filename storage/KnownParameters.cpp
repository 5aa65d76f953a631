#include "storage/KnownParameters.h"

#include <array>

namespace {

struct Known {
  std::string_view name;
  FieldKind kind;
};

constexpr std::array<Known, 22> kKnown{{
    {"UNIQUE_KEY", FieldKind::UIntArray},
    {"TABLENAME", FieldKind::String},
    {"DEFAULT_ORDER", FieldKind::UIntArray},
    {"MD_FIELDLINKS", FieldKind::UIntArray},
    {"CHANGE_LOG", FieldKind::UIntArray},
    {"TYPENAME", FieldKind::String},
    {"SERVER_COL", FieldKind::String},
    {"UPDATEMODE", FieldKind::Int16},
    {"DATASET_DELTA", FieldKind::Boolean},
    {"MD_SEMANTICS", FieldKind::UIntArray},
    {"READONLY", FieldKind::Boolean},
    {"CALCULATED", FieldKind::Boolean},
    {"SUBTYPE", FieldKind::String},
    {"DELTA", FieldKind::Boolean},
    {"DECIMALS", FieldKind::Int16},
    {"PRIMARY_KEY", FieldKind::UIntArray},
    {"WIDTH", FieldKind::Int16},
    {"MINVALUE", FieldKind::String},
    {"LCID", FieldKind::Int16},
    {"MAXVALUE", FieldKind::String},
    {"AUTOINCVALUE", FieldKind::Int32},
    {"DEFVALUE", FieldKind::String},
}};

}  // namespace

std::optional<FieldKind> KnownParameterKind(std::string_view name) {
  for (const auto& known : kKnown) {
    if (known.name == name) return known.kind;
  }
  return std::nullopt;
}
