#include <string>

#include "storage/KnownParameters.h"
#include "storage/ValueText.h"
#include "storage/XmlPacket.h"
#include "storage/XmlText.h"

namespace {

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
  out.push_back(' ');
  out.append(name);
  out.append("=\"");
  AppendEscaped(out, value);
  out.push_back('"');
}

// A parameter with an unknown name becomes a child element of its own.
void AppendParamElement(std::string& out, const Parameter& parameter) {
  out.append("<PARAM");
  AppendAttribute(out, "Name", parameter.name);
  AppendAttribute(out, "Value", parameter.value);
  if (parameter.kind != FieldKind::String) {
    if (const auto word = KindWord(parameter.kind)) AppendAttribute(out, "Type", *word);
  }
  if (parameter.roundtrip) AppendAttribute(out, "Roundtrip", "True");
  out.append("/>");
}

// Writes the known parameters as attributes and gives the others back for child elements.
std::vector<const Parameter*> AppendKnownParameters(
    std::string& out, const std::vector<const Parameter*>& parameters) {
  std::vector<const Parameter*> children;
  for (const auto* parameter : parameters) {
    if (KnownParameterKind(parameter->name)) {
      AppendAttribute(out, parameter->name, parameter->value);
    } else {
      children.push_back(parameter);
    }
  }
  return children;
}

void CloseElement(std::string& out, std::string_view name,
                  const std::vector<const Parameter*>& children) {
  if (children.empty()) {
    out.append("/>");
    return;
  }
  out.push_back('>');
  for (const auto* child : children)
    AppendParamElement(out, *child);
  out.append("</");
  out.append(name);
  out.push_back('>');
}

bool AppendField(std::string& out, const Field& field, std::size_t position) {
  const auto word = KindWord(field.kind);
  if (!word) return false;
  const std::string attrName = RowAttributeName(field, position);
  out.append("<FIELD");
  if (attrName != field.name) AppendAttribute(out, "fieldname", field.name);
  AppendAttribute(out, "attrname", attrName);
  AppendAttribute(out, "fieldtype", *word);
  if (field.attributes & kReadOnly) AppendAttribute(out, "readonly", "true");
  if (field.attributes & kRequired) AppendAttribute(out, "required", "true");
  if (field.attributes & kHidden) AppendAttribute(out, "hidden", "true");
  if (field.attributes & kLinkField) AppendAttribute(out, "linkfield", "true");

  const bool writesWidth = field.width != 0 && KindHasWidth(field.kind);
  const bool widthFirst = field.kind == FieldKind::FixedBytes;
  if (writesWidth && widthFirst) AppendAttribute(out, "WIDTH", std::to_string(field.width));
  if (!field.subtype.empty()) AppendAttribute(out, "SUBTYPE", field.subtype);
  if (field.decimals != 0 && field.kind != FieldKind::Struct && field.kind != FieldKind::IntArray &&
      field.kind != FieldKind::UIntArray) {
    AppendAttribute(out, "DECIMALS", std::to_string(field.decimals));
  }
  if (writesWidth && !widthFirst) AppendAttribute(out, "WIDTH", std::to_string(field.width));
  if (field.calculated) AppendAttribute(out, "CALCULATED", "true");

  std::vector<const Parameter*> parameters;
  for (const auto& parameter : field.parameters)
    parameters.push_back(&parameter);
  CloseElement(out, "FIELD", AppendKnownParameters(out, parameters));
  return true;
}

std::string ChangeLogText(const TableContent& content, const WrittenRows& rows) {
  std::string text;
  for (const auto& change : content.changes) {
    if (!text.empty()) text.push_back(' ');
    text += std::to_string(rows.rowOfVersion[change.version]);
    text.push_back(' ');
    text += std::to_string(change.replaced == kNoVersion ? 0 : rows.rowOfVersion[change.replaced]);
    text.push_back(' ');
    text += std::to_string(static_cast<int>(change.kind));
  }
  return text;
}

void AppendDatasetParameters(std::string& out, const TableContent& content,
                             const WrittenRows& rows) {
  if (content.changes.empty() && content.parameters.empty()) {
    out.append("<PARAMS/>");
    return;
  }
  Parameter changeLog{.name = "CHANGE_LOG", .kind = FieldKind::UIntArray};
  if (!content.changes.empty()) changeLog.value = ChangeLogText(content, rows);

  std::vector<const Parameter*> ordered;
  const auto take = [&](std::string_view name) {
    for (const auto& parameter : content.parameters) {
      if (parameter.name == name) ordered.push_back(&parameter);
    }
  };
  take("DEFAULT_ORDER");
  take("PRIMARY_KEY");
  take("UNIQUE_KEY");
  if (!content.changes.empty()) ordered.push_back(&changeLog);
  take("AUTOINCVALUE");
  take("MD_FIELDLINKS");
  for (const auto& parameter : content.parameters) {
    const auto& n = parameter.name;
    if (n != "DEFAULT_ORDER" && n != "PRIMARY_KEY" && n != "UNIQUE_KEY" && n != "AUTOINCVALUE" &&
        n != "MD_FIELDLINKS") {
      ordered.push_back(&parameter);
    }
  }
  out.append("<PARAMS");
  CloseElement(out, "PARAMS", AppendKnownParameters(out, ordered));
}

}  // namespace

std::optional<std::string> WriteXmlPacket(const TableContent& content) {
  const WrittenRows rows = RowsToWrite(content);
  const EntryLayout layout(content.fields);

  std::size_t estimate = 32768;
  for (const auto v : rows.versions)
    estimate += content.versions[v].size + content.versions[v].size / 2;
  std::string out;
  out.reserve(estimate);

  out.append(
      "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
  for (std::size_t f = 0; f < content.fields.size(); ++f) {
    if (!AppendField(out, content.fields[f], f)) return std::nullopt;
  }
  out.append("</FIELDS>");
  AppendDatasetParameters(out, content, rows);
  out.append("</METADATA><ROWDATA>");

  std::vector<std::string> openings;  // ' name="' of each field
  for (std::size_t f = 0; f < content.fields.size(); ++f) {
    openings.push_back(" " + RowAttributeName(content.fields[f], f) + "=\"");
  }
  for (const auto v : rows.versions) {
    const auto& version = content.versions[v];
    const std::uint8_t state = content.changes.empty() ? 0 : version.state;
    out.append("<ROW");
    if (state != 0) {
      out.append(" RowState=\"");
      out.append(std::to_string(state));
      out.push_back('"');
    }
    const bool modified = state & kRowModified;
    layout.ForEach(version.entry, [&](std::size_t f, unsigned status, std::string_view value) {
      if (status & EntryLayout::kAbsent) return;
      if (modified && (status & EntryLayout::kShared)) return;
      out.append(openings[f]);
      AppendXmlValue(out, content.fields[f], value);
      out.push_back('"');
    });
    out.append("/>");
  }
  out.append("</ROWDATA></DATAPACKET>");
  return out;
}
