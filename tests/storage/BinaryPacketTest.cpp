#include <gtest/gtest.h>

#include "storage/BinaryPacket.h"
#include "tests/storage/CatchLogFixture.h"
#include "tests/support/FailureText.h"

namespace {

class Bytes {
 public:
  Bytes& Number(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i, value >>= 8)
      bytes_.push_back(static_cast<char>(value & 0xFF));
    return *this;
  }
  Bytes& Text(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  Bytes& Name(std::string_view name) { return Number(name.size(), 1).Text(name); }
  const std::string& Get() const { return bytes_; }

 private:
  std::string bytes_;
};

// The stored empty structure assembled by hand from its table.
std::string ExpectedEmptyStructure() {
  Bytes b;
  b.Text("\x96\x19\xE0\xBD").Number(1, 2).Number(0, 2).Number(24, 4).Number(7, 2).Number(0, 4);
  b.Number(3, 2).Number(0, 2).Number(203, 2);
  b.Name("Date").Number(4, 2).Number(6, 2).Number(16, 2).Number(0, 2);
  const auto string = [&](std::string_view name) {
    b.Name(name).Number(1, 2).Number(73, 2).Number(16, 2).Number(1, 2);
    b.Name("WIDTH").Number(0x00020002, 4).Number(20, 2);
  };
  string("Weather");
  string("Name");
  string("Size");
  string("Place");
  b.Name("Memo").Number(4, 2).Number(75, 2).Number(16, 2).Number(1, 2);
  b.Name("SUBTYPE").Number(0x00490002, 4).Number(5, 2).Text(std::string("Text\0", 5));
  string("PicName");
  b.Number(0, 2);
  return b.Get();
}

// Saves the entries in binary packet form (a name without ".xml") and gives the file.
std::string SavedPacket(const std::vector<CatchEntry>& entries) {
  TempFolder folder;
  {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path("log"));
    for (const auto& entry : entries)
      AddEntry(store, entry);
    store.Close();
  }
  return folder.Read("log");
}

}  // namespace

TEST(BinaryPacket, StoredEmptyStructureIsItsTableToTheByte) {
  const std::string packet = StoredEmptyStructure();
  EXPECT_EQ(packet.size(), 203u);
  EXPECT_EQ(packet, ExpectedEmptyStructure());
}

TEST(BinaryPacket, StoredEmptyStructureReadsBackAsSevenFieldsAndNoEntries) {
  const TableContent content = ReadBinaryPacket(StoredEmptyStructure());
  EXPECT_EQ(content.fields, CatchLogFields());
  EXPECT_TRUE(content.versions.empty());
}

TEST(BinaryPacket, RowsHoldStatusPairsAndValues) {
  CatchEntry entry{.date = "2005/06/12", .weather = "abcdefghijklmnopqrst", .picName = "p"};
  const std::string packet = SavedPacket({entry});
  Bytes row;
  row.Number(0, 1);                  // unchanged
  row.Number(0, 1).Number(0x04, 1);  // only Memo (field 5) absent: bit 2 of the second byte
  row.Number(732109, 4);             // 12 June 2005
  row.Number(20, 1).Text(entry.weather);
  row.Number(0, 1).Number(0, 1).Number(0, 1);  // empty Name, Size, Place
  row.Number(1, 1).Text("p");
  EXPECT_EQ(packet.substr(0, 14), ExpectedEmptyStructure().substr(0, 14));
  EXPECT_EQ(packet.substr(14, 4), std::string("\x01\0\0\0", 4));  // one row
  EXPECT_EQ(packet.substr(203), row.Get());
}

TEST(BinaryPacket, RoundTripGivesTheSameBytes) {
  const std::string first =
      SavedPacket({AyuEntry(), CatchEntry{.memo = Cp932("メモ\r\n二行")}, CatchEntry{}});
  const TableContent content = ReadBinaryPacket(first);
  EXPECT_EQ(WriteBinaryPacket(content)->View(), first);
}

TEST(BinaryPacket, OnlyVersionsUpToThreeAreThisForm) {
  std::string packet = StoredEmptyStructure();
  EXPECT_TRUE(IsBinaryPacket(packet));
  for (const int offset : {4, 6}) {
    std::string other = packet;
    other[offset] = 4;
    EXPECT_FALSE(IsBinaryPacket(other));
    other[offset] = 3;
    EXPECT_TRUE(IsBinaryPacket(other));
  }
}

TEST(BinaryPacket, EveryTruncationFailsCleanlyWithACode) {
  const std::string packet = SavedPacket({AyuEntry(), AyuEntry()});
  for (std::size_t length = 8; length < packet.size(); ++length) {
    try {
      ReadBinaryPacket(packet.substr(0, length));
      ADD_FAILURE() << "a packet of " << length << " bytes was read";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Message(), "");
      EXPECT_NE(failure.Code(), 0);
    }
  }
}

TEST(BinaryPacket, RejectsDescriptorsAndValuesThatDoNotDecode) {
  const std::string good = SavedPacket({AyuEntry()});
  struct Case {
    const char* what;
    std::size_t offset;
    std::string bytes;
  };
  const Case cases[] = {
      {"unknown type code", 24 + 1 + 4 + 2, "\x3F"},
      {"date of the wrong size", 24 + 1 + 4, "\x03"},
      {"two length bytes for a string of width 20", 24 + 13 + 1 + 7, "\x02"},
      {"field name longer than 31 bytes", 24, "\x28"},
      {"no fields", 12, std::string(2, '\0')},
      {"row count beyond the rows", 14, "\x09"},
      {"date before year 1", 203 + 3, std::string(4, '\0')},
  };
  for (const auto& c : cases) {
    std::string bad = good;
    bad.replace(c.offset, c.bytes.size(), c.bytes);
    EXPECT_EQ(FailureText([&] { ReadBinaryPacket(bad); }), "") << c.what;
  }
}
