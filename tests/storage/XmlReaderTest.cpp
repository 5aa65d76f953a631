#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "storage/PacketError.h"
#include "storage/ValueText.h"
#include "storage/XmlPacket.h"
#include "tests/storage/CatchLogFixture.h"

namespace {

using Row = std::vector<std::optional<std::string>>;

// The live entries of a document, each field as the store gives it as text (nullopt: absent).
std::vector<Row> Rows(const TableContent& content) {
  const EntryLayout layout(content.fields);
  std::vector<Row> rows;
  for (const auto v : content.order) {
    Row row;
    for (std::size_t f = 0; f < content.fields.size(); ++f) {
      const auto value = layout.Value(content.versions[v].entry, f);
      row.push_back(value ? std::optional(FieldText(content.fields[f], *value)) : std::nullopt);
    }
    rows.push_back(row);
  }
  return rows;
}

// The code of the read's failure, or 0 when it reads.
int FailureCode(std::string_view document) {
  try {
    ReadXmlPacket(document);
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Message(), "");
    return failure.Code();
  }
  return 0;
}

std::vector<Row> CatchRows(const std::string& rows) {
  return Rows(ReadXmlPacket(CatchLogDocument(rows)));
}

const std::nullopt_t absent = std::nullopt;

}  // namespace

TEST(XmlReader, ReadsTheWorkedExample) {
  const auto rows = CatchRows(
      "<ROW Date=\"20050612\" Weather=\"fine\" Name=\"ayu\" Size=\"21cm\" Place=\"north bank\" "
      "Memo=\"2 kept &amp; 1 released&#013;&#010;water cold\" PicName=\"ayu01.jpeg\"/>");
  const Row expected{"2005/06/12", "fine",       "ayu",
                     "21cm",       "north bank", "2 kept & 1 released\r\nwater cold",
                     "ayu01.jpeg"};
  EXPECT_EQ(rows, std::vector<Row>{expected});
  EXPECT_EQ(ReadXmlPacket(CatchLogDocument("")).fields, CatchLogFields());
}

TEST(XmlReader, DecodesValues) {
  struct Case {
    std::string attributes;
    Row row;
  };
  const std::string thirty(30, 'n');
  const Case cases[] = {
      {"Weather=\"\"", {absent, "", absent, absent, absent, absent, absent}},
      {"Memo=\"\"",
       {absent, absent, absent, absent, absent, absent, absent}},  // an empty memo is absent
      {"Date=\"2005-06-12\"", {"2005/06/12", absent, absent, absent, absent, absent, absent}},
      {"Date=\"2005061\"", {"2005/06/01", absent, absent, absent, absent, absent, absent}},
      {"Date=\"20051301\" Name=\"x\"", {absent, absent, "x", absent, absent, absent, absent}},
      {"Date=\"20050230\"", {absent, absent, absent, absent, absent, absent, absent}},
      {"Date=\"00000101\"", {absent, absent, absent, absent, absent, absent, absent}},
      {"Date=\"2005\"", {absent, absent, absent, absent, absent, absent, absent}},
      {"Name=\"" + thirty + "\"",
       {absent, absent, thirty.substr(0, 20), absent, absent, absent, absent}},
      {"Name=\"&#130;&#x41;&foo;&#;&amp\"",
       {absent, absent,
        "\x82"
        "A&foo;&#;&amp",
        absent, absent, absent, absent}},
      {"Name=\"&#321;&lt;&gt;&quot;&apos;\"",
       {absent, absent, "A<>\"'", absent, absent, absent, absent}},
      {"Name=\"" + Cp932("ソ\\") + "\"",
       {absent, absent, Cp932("ソ\\"), absent, absent, absent, absent}},
      {"Name=\"a\nb\"", {absent, absent, "a\nb", absent, absent, absent, absent}},
      // Order does not matter; names match to the byte; unknown ones are ignored.
      {"PicName=\"p\" date=\"20050612\" Fish=\"x\" Date=\"20040608\"",
       {"2004/06/08", absent, absent, absent, absent, absent, "p"}},
      // A value not in double quotes ends the attribute list.
      {"Name=\"n\" Weather='fine' Size=\"s\"",
       {absent, absent, "n", absent, absent, absent, absent}},
      {"Name=\"n\" Weather=fine Size=\"s\"", {absent, absent, "n", absent, absent, absent, absent}},
      {"Name =\n \"n\"\t Size=\"s\"", {absent, absent, "n", "s", absent, absent, absent}},
      {"Name=\"first\" Name=\"second\"", {absent, absent, "first", absent, absent, absent, absent}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CatchRows("<ROW " + c.attributes + "/>"), std::vector<Row>{c.row}) << c.attributes;
  }
}

TEST(XmlReader, AcceptsWhatTheDialectAllows) {
  const std::string metadata = CatchLogMetadata();
  struct Case {
    const char* what;
    std::string document;
    std::size_t rows;
  };
  std::string indented = CatchLogDocument("\n  <ROW\n Name=\"a\"/>\n");
  indented.replace(indented.find("<ROW\n"), 5, "<ROW ");
  for (const std::string tag : {"<METADATA>", "<FIELDS>", "<FIELD ", "<ROWDATA>", "</FIELDS>"}) {
    indented.replace(indented.find(tag), 0, "\r\n\t ");
  }
  std::string deepest = "<ROW>";  // DATAPACKET, ROWDATA, ROW and 60 more: 63 open at once
  for (int i = 0; i < 60; ++i)
    deepest += "<a>";
  for (int i = 0; i < 60; ++i)
    deepest += "</a>";
  const Case cases[] = {
      {"line breaks and indentation between elements", indented, 1},
      {"63 elements open", CatchLogDocument(deepest + "</ROW>"), 1},
      {"no declaration and no DATAPACKET",
       metadata.substr(metadata.find("<METADATA>")) + "<ROW/></ROWDATA>", 1},
      {"bytes after the rows", CatchLogDocument("<ROW/>") + "garbage <<<", 1},
      {"no end of DATAPACKET", metadata + "<ROW/></ROWDATA>", 1},
      {"ROWDATA empty", metadata.substr(0, metadata.size() - 9) + "<ROWDATA/>", 0},
      {"no PARAMS",
       [&] {
         std::string d = CatchLogDocument("");
         return d.erase(d.find("<PARAMS/>"), 9);
       }(),
       0},
      {"comments and processing instructions",
       CatchLogDocument("<!-- a > b --><?pi x?><ROW/><!----><ROW/>"), 2},
      {"later rows of any name", CatchLogDocument("<ROW/><OTHER Name=\"x\"/>"), 2},
      {"a row with content", CatchLogDocument("<ROW Name=\"x\"><child a=\"1\"/></ROW>"), 1},
      {"empty element with a space", CatchLogDocument("<ROW />"), 1},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(FailureCode(c.document), 0) << c.what;
    EXPECT_EQ(ReadXmlPacket(c.document).order.size(), c.rows) << c.what;
  }
}

TEST(XmlReader, RejectsWhatTheDialectRefuses) {
  const std::string metadata = CatchLogMetadata();
  const std::string document = CatchLogDocument("<ROW Name=\"a\"/>");
  const auto replaced = [&](std::string text, std::string_view from, std::string_view to) {
    return text.replace(text.find(from), from.size(), to);
  };
  std::string deep = CatchLogDocument("<ROW>");
  for (int i = 0; i < 61; ++i)
    deep.insert(deep.find("</ROWDATA>"), "<a>");
  struct Case {
    const char* what;
    std::string document;
    PacketError code;
  };
  const Case cases[] = {
      {"byte-order mark", "\xEF\xBB\xBF" + document, kXmlNoMarkup},
      {"empty file of blanks", " \r\n", kXmlNoMarkup},
      {"tab after an element name", replaced(document, "<ROW ", "<ROW\t"), kXmlBadTag},
      {"line break after ROW", replaced(document, "<ROW ", "<ROW\n"), kXmlBadTag},
      {"unescaped '>' in a value", replaced(document, "Name=\"a\"", "Name=\"a>b\""), kXmlOpenAtEnd},
      {"text between elements", replaced(document, "<ROW ", "x<ROW "), kXmlTextOutsideTags},
      {"end tag of another element", replaced(document, "</ROWDATA>", "</ROWDATA2>"),
       kXmlEndTagMismatch},
      {"more than 63 elements open", deep, kXmlTooDeep},
      {"ROWDATA before METADATA", "<DATAPACKET><ROWDATA></ROWDATA></DATAPACKET>", kXmlElementOrder},
      {"empty field list",
       replaced(document,
                metadata.substr(metadata.find("<FIELDS>"),
                                metadata.find("</FIELDS>") - metadata.find("<FIELDS>") + 9),
                "<FIELDS></FIELDS>"),
       kXmlNoFields},
      {"field without attrname", replaced(document, "attrname=\"Date\"", "name=\"Date\""),
       kXmlFieldUnnamed},
      {"field without fieldtype", replaced(document, "fieldtype=\"date\"", ""), kXmlFieldKind},
      {"unknown kind word", replaced(document, "\"date\"", "\"day\""), kXmlFieldKind},
      {"string without WIDTH",
       replaced(document, " WIDTH=\"20\"/><FIELD attrname=\"Name\"", "/><FIELD attrname=\"Name\""),
       kXmlFieldWidth},
      {"bin.hex without subtype or width", replaced(document, " SUBTYPE=\"Text\"", ""),
       kXmlFieldWidth},
      {"first row not a ROW", replaced(document, "<ROW ", "<ROWS "), kXmlFirstRow},
      {"PARAM without Value",
       replaced(document, "<PARAMS/>", "<PARAMS><PARAM Name=\"x\"/></PARAMS>"),
       kXmlParamIncomplete},
      {"field name longer than 31 bytes",
       replaced(document, "\"Date\"", "\"" + std::string(32, 'D') + "\""), kXmlFieldName},
      {"two fields of one attribute name", replaced(document, "\"Weather\"", "\"Date\""),
       kXmlFieldName},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureCode(c.document), c.code) << c.what;
}

TEST(XmlReader, NeverReadsBeyondTheData) {
  // Every prefix of a document ends a declaration, comment, tag, value or element before its
  // end: each must fail, none may read past the data (the sanitizers watch).
  const std::string document =
      "<?xml version=\"1.0\"?><!-- c --><?pi?>" +
      CatchLogDocument("<ROW Name=\"a&amp;b\"/><ROW Memo=\"m\"></ROW>").substr(38);
  for (std::size_t length = 0; length < document.find("</ROWDATA>") + 9; ++length) {
    const std::string prefix = document.substr(0, length);
    EXPECT_NE(FailureCode(prefix), 0) << length;
  }
}

TEST(XmlReader, ReadsUtf8WhenTheDeclarationSaysSo) {
  const std::string utf8 = "<?xml version=\"1.0\" encoding=\"utf-8\"?>" +
                           CatchLogDocument("<ROW Name=\"\xC3\xA9\xC2\x82x\"/>").substr(38);
  EXPECT_EQ(Rows(ReadXmlPacket(utf8))[0][2], "\xE9\x82x");
  EXPECT_EQ(CatchRows("<ROW Name=\"\xC3\xA9\"/>")[0][2], "\xC3\xA9");
}

TEST(XmlReader, KeepsFieldsAndParametersItDoesNotUse) {
  const std::string document =
      "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD fieldname=\"Fish Name\" attrname=\"Fish_Name\" fieldtype=\"string\" "
      "readonly=\"true\" "
      "required=\"TRUE\" hidden=\"true\" linkfield=\"true\" WIDTH=\"8\" MINVALUE=\"a\"/>"
      "<FIELD attrname=\"Count\" fieldtype=\"i4\"/><FIELD attrname=\"Kept\" fieldtype=\"boolean\"/>"
      "<FIELD attrname=\"Weight\" fieldtype=\"r8\"/><FIELD attrname=\"At\" fieldtype=\"dateTime\"/>"
      "<FIELD attrname=\"Hook\" fieldtype=\"time\"/><FIELD attrname=\"Tags\" "
      "fieldtype=\"UIntArray\"/>"
      "<FIELD attrname=\"Photo\" fieldtype=\"bin.hex\" SUBTYPE=\"Binary\"/>"
      "<FIELD attrname=\"Code\" fieldtype=\"bin.hex\" WIDTH=\"3\"/>"
      "</FIELDS><PARAMS LCID=\"1041\" OWNER=\"me\"><PARAM Name=\"Note\" Value=\"n\" Type=\"i2\" "
      "Roundtrip=\"True\"/></PARAMS></METADATA><ROWDATA>"
      "<ROW Fish_Name=\"ayu\" Count=\"-3\" Kept=\"true\" Weight=\"0.25\" "
      "At=\"20050612T13:45:30250\" "
      "Hook=\"06:07:08009\" Tags=\"1 2 4294967295\" Photo=\"AAEC/w==\" Code=\"YWJj\"/>"
      "</ROWDATA></DATAPACKET>";
  const TableContent content = ReadXmlPacket(document);
  ASSERT_EQ(content.fields.size(), 9u);
  EXPECT_EQ(content.fields[0].name, "Fish Name");
  EXPECT_EQ(content.fields[0].attributes, kReadOnly | kRequired | kHidden | kLinkField | kUnnamed);
  EXPECT_EQ(content.fields[7].kind, FieldKind::Blob);
  EXPECT_EQ(content.fields[8].kind, FieldKind::FixedBytes);
  EXPECT_EQ(Rows(content)[0],
            (Row{"ayu", "-3", "TRUE", "0.25", "20050612T13:45:30250", "06:07:08009",
                 "1 2 4294967295", std::string("\0\1\2\xFF", 4), "abc"}));
  ASSERT_EQ(content.parameters.size(), 3u);
  EXPECT_EQ(content.parameters[2], (Parameter{"Note", FieldKind::Int16, "n", true}));

  // Written back, they come out the way the writer writes them, and read the same again.
  const std::string written(WriteXmlPacket(content)->View());
  EXPECT_NE(
      written.find("<FIELD fieldname=\"Fish Name\" attrname=\"Fish_Name\" fieldtype=\"string\" "
                   "readonly=\"true\" required=\"true\" hidden=\"true\" linkfield=\"true\" "
                   "WIDTH=\"8\" MINVALUE=\"a\"/>"),
      std::string::npos);
  EXPECT_NE(written.find("<FIELD attrname=\"Code\" fieldtype=\"bin.hex\" WIDTH=\"3\"/>"),
            std::string::npos);
  EXPECT_NE(
      written.find("<PARAMS LCID=\"1041\"><PARAM Name=\"OWNER\" Value=\"me\"/><PARAM Name=\"Note\" "
                   "Value=\"n\" Type=\"i2\" Roundtrip=\"True\"/></PARAMS>"),
      std::string::npos);
  EXPECT_EQ(Rows(ReadXmlPacket(written)), Rows(content));
  EXPECT_EQ(WriteXmlPacket(ReadXmlPacket(written))->View(), written);
}

TEST(XmlReader, AStructureWithAKindThatCannotBeWrittenIsNotSaved) {
  const TableContent content = ReadXmlPacket(
      "<METADATA><FIELDS><FIELD attrname=\"Big\" fieldtype=\"i8\"/></FIELDS></METADATA>"
      "<ROWDATA><ROW Big=\"9223372036854775807\"/></ROWDATA>");
  EXPECT_EQ(Rows(content)[0][0], "9223372036854775807");
  EXPECT_FALSE(WriteXmlPacket(content).has_value());
}

TEST(XmlReader, MetadataLosesItsZeroBytesAsTheWriterWouldDropThem) {
  std::string document = CatchLogDocument("<ROW Memo=\"m\"/>");
  document.replace(document.find("SUBTYPE=\"Text\""), 14, "SUBTYPE=\"Te&#0;xt\"");
  const TableContent content = ReadXmlPacket(document);
  EXPECT_EQ(content.fields[5].kind, FieldKind::Memo);
  EXPECT_EQ(Rows(content)[0][5], "m");
}

TEST(XmlReader, NamesThatWouldBreakTheFileAreWrittenSafely) {
  const TableContent content = ReadXmlPacket(
      "<METADATA><FIELDS><FIELD fieldname=\"a=b&gt;\x01\" attrname=\"x\" fieldtype=\"i4\"/>"
      "</FIELDS></METADATA><ROWDATA><ROW x=\"7\"/></ROWDATA>");
  const std::string written(WriteXmlPacket(content)->View());
  EXPECT_NE(written.find("<FIELD fieldname=\"a=b&gt;\x01\" attrname=\"a_b__\""), std::string::npos);
  EXPECT_NE(written.find("<ROW a_b__=\"7\"/>"), std::string::npos);
  EXPECT_EQ(Rows(ReadXmlPacket(written)), Rows(content));

  // Two names that come out as one attribute name cannot be told apart in the file.
  const TableContent colliding = ReadXmlPacket(
      "<METADATA><FIELDS><FIELD fieldname=\"a b\" attrname=\"x\" fieldtype=\"i4\"/>"
      "<FIELD attrname=\"a_b\" fieldtype=\"i4\"/></FIELDS></METADATA><ROWDATA/>");
  EXPECT_FALSE(WriteXmlPacket(colliding).has_value());
}
