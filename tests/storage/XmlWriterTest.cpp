#include <gtest/gtest.h>

#include "tests/storage/CatchLogFixture.h"

namespace {

// Adds the entries to a catch log saved at the end as `name` and gives the file's bytes.
std::string SavedCatchLog(const std::vector<CatchEntry>& entries,
                          const std::string& name = "log.xml") {
  TempFolder folder;
  {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path(name));
    for (const auto& entry : entries)
      AddEntry(store, entry);
    store.Append();  // with nothing posted since opening, an empty log would not be written
    store.Post();
    store.Delete();
    store.AcceptAllChanges();
    store.Close();
  }
  return folder.Read(name);
}

std::string Row(const std::string& attributes) {
  return "<ROW" + attributes + "/>";
}

}  // namespace

TEST(XmlWriter, WritesTheWorkedExampleToTheByte) {
  EXPECT_EQ(SavedCatchLog({AyuEntry()}),
            CatchLogDocument(Row(" Date=\"20050612\" Weather=\"fine\" Name=\"ayu\" Size=\"21cm\" "
                                 "Place=\"north bank\" Memo=\"2 kept &amp; 1 released&#013;&#010;"
                                 "water cold\" PicName=\"ayu01.jpeg\"")));
}

TEST(XmlWriter, WritesAnEmptyCatchLog) {
  const std::string bytes = SavedCatchLog({});
  EXPECT_EQ(bytes, CatchLogDocument(""));
  EXPECT_TRUE(bytes.ends_with("<PARAMS/></METADATA><ROWDATA></ROWDATA></DATAPACKET>"));
}

TEST(XmlWriter, EscapesTheBytesOfItsTable) {
  struct Case {
    std::string text, written;
  };
  const Case cases[] = {
      {"a&b", "a&amp;b"},
      {"<x>", "&lt;x&gt;"},
      {"\"q\"", "&quot;q&quot;"},
      {"it's", "it&apos;s"},
      {"c:\\d", "c:&#092;d"},
      {"a\tb", "a&#009;b"},
      {Cp932("ソ"), Cp932("ソ")},  // 0x83 0x5C: the second byte is not a backslash
      {Cp932("ソ\\"), Cp932("ソ") + "&#092;"},
      {Cp932("表示"), Cp932("表示")},  // 0x95 0x5C as well
      {"\x01\x1f", "\x01\x1f"},        // other control bytes stay
      {"\x81\"", "\x81&quot;"},        // a stray lead byte never swallows a quote
  };
  for (const auto& c : cases) {
    CatchEntry entry{.place = c.text};
    EXPECT_EQ(SavedCatchLog({entry}),
              CatchLogDocument(Row(" Weather=\"\" Name=\"\" Size=\"\" Place=\"" + c.written +
                                   "\" PicName=\"\"")))
        << c.text;
  }
}

TEST(XmlWriter, WritesEmptyStringsAndLeavesAbsentValuesOut) {
  // An empty Weather is a present empty value; an empty Memo and an empty Date are absent.
  EXPECT_EQ(SavedCatchLog({CatchEntry{.name = "ayu", .memo = ""}}),
            CatchLogDocument(Row(" Weather=\"\" Name=\"ayu\" Size=\"\" Place=\"\" PicName=\"\"")));
}

TEST(XmlWriter, WritesDatesAsEightDigits) {
  struct Case {
    std::string date, written;
  };
  for (const auto& c : {Case{"2005/06/12", "20050612"}, Case{"0999/01/02", "09990102"},
                        Case{"1899/12/30", "18991230"}, Case{"9999/12/31", "99991231"}}) {
    CatchEntry entry{.date = c.date};
    EXPECT_EQ(SavedCatchLog({entry}),
              CatchLogDocument(Row(" Date=\"" + c.written +
                                   "\" Weather=\"\" Name=\"\" Size=\"\" Place=\"\" PicName=\"\"")));
  }
}

TEST(XmlWriter, ReadingAndWritingAgainGivesTheSameBytes) {
  TempFolder folder;
  const CatchEntry tricky{"2004/06/08", Cp932("晴れ"),     Cp932("ソイ&<>\"'\\"),
                          "21cm",       Cp932("北の岸\\"), Cp932("一行目\r\n二行目ソ\t&amp;"),
                          "a.jpeg"};
  const std::string first = SavedCatchLog({AyuEntry(), tricky, CatchEntry{}});
  folder.Write("copy.xml", first);
  {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path("copy.xml"));
    store.Append();  // one change, so that closing writes the file again
    store.Post();
    store.Delete();
    store.AcceptAllChanges();
    store.Close();
  }
  EXPECT_EQ(folder.Read("copy.xml"), first);
}
