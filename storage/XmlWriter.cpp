#include "storage/XmlPacket.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "storage/ByteScan.h"
#include "storage/KnownParameters.h"
#include "storage/ValueText.h"
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

std::optional<ByteBuffer> WriteXmlPacket(const TableContent& content) {
  const WrittenRows rows = RowsToWrite(content);
  const EntryLayout layout(content.fields);

  // ' name="' of each field. Two fields of one attribute name would read back as one.
  std::vector<std::string> openings;
  std::unordered_set<std::string> names;
  std::size_t openingsSize = 0;
  for (std::size_t f = 0; f < content.fields.size(); ++f) {
    std::string& opening = openings.emplace_back(" ");
    opening += RowAttributeName(content.fields[f], f);
    if (!names.insert(opening).second) return std::nullopt;
    opening += "=\"";
    openingsSize += opening.size();
  }

  std::string metadata =
      "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
  for (std::size_t f = 0; f < content.fields.size(); ++f) {
    if (!AppendField(metadata, content.fields[f], f)) return std::nullopt;
  }
  metadata.append("</FIELDS>");
  AppendDatasetParameters(metadata, content, rows);
  metadata.append("</METADATA><ROWDATA>");

  // Room that is reserved but never written costs no memory, so the estimate is generous.
  std::size_t estimate = metadata.size() + 32768;
  for (const auto v : rows.versions)
    estimate += openingsSize + 2 * content.versions[v].size;
  ByteBuffer out;
  out.Reserve(estimate);
  out.Append(metadata);

  const auto put = [](char* at, std::string_view text) {
    return std::copy(text.begin(), text.end(), at);
  };
  for (const auto v : rows.versions) {
    const auto& version = content.versions[v];
    const std::uint8_t state = content.changes.empty() ? 0 : version.state;
    char* const start =
        out.Room(32 + openingsSize + version.size * 6 + content.fields.size() * kXmlValueSlack);
    char* at = put(start, "<ROW");
    if (state != 0) {
      at = put(at, " RowState=\"");
      at = put(at, std::to_string(state));
      *at++ = '"';
    }
    const bool modified = state & kRowModified;
    layout.ForEach(version.entry, [&](std::size_t f, unsigned status, std::string_view value) {
      if (status & EntryLayout::kAbsent) return;
      if (modified && (status & EntryLayout::kShared)) return;
      const auto& field = content.fields[f];
      // Zero bytes are dropped: a memo of nothing else would be an empty memo, which is absent.
      if (field.kind == FieldKind::Memo && value.find_first_not_of('\0') == value.npos) return;
      at = byte_scan::Copy(at, openings[f]);
      at = XmlValueTo(at, field, value);
      *at++ = '"';
    });
    at = put(at, "/>");
    out.Commit(static_cast<std::size_t>(at - start));
  }
  out.Append("</ROWDATA></DATAPACKET>");
  return out;
}
