#include <gtest/gtest.h>

#include "storage/BinaryPacket.h"
#include "storage/XmlPacket.h"
#include "tests/storage/CatchLogFixture.h"
#include "tests/support/FailureText.h"

namespace {

std::string WithChangeLog(const std::string& changeLog, const std::string& rows) {
  std::string document = CatchLogDocument(rows);
  return document.replace(document.find("<PARAMS/>"), 9,
                          "<PARAMS CHANGE_LOG=\"" + changeLog + "\"/>");
}

class ChangeLogTest : public testing::Test {
 protected:
  void OpenDocument(const std::string& document) {
    folder.Write("log.xml", document);
    OpenOn(store, folder.Path("log.xml"));
  }
  std::string CloseAndRead() {
    store.Close();
    return folder.Read("log.xml");
  }

  TempFolder folder;
  RecordStore store{"cdsFish", StoredEmptyStructure()};
};

}  // namespace

TEST_F(ChangeLogTest, AnInsertFromTheFileIsInTheLog) {
  OpenDocument(WithChangeLog("1 0 4", "<ROW RowState=\"4\" Name=\"ayu\"/>"));
  EXPECT_EQ(store.EntryCount(), 1);
  EXPECT_EQ(store.ChangeLogCount(), 1);
  EXPECT_EQ(store.GetFieldText("Name"), "ayu");
}

TEST_F(ChangeLogTest, ModificationsAndDeletionsRestoreTheStoreOrder) {
  // a was modified twice (a -> a2 -> a3), b deleted, c inserted then modified; d unchanged.
  OpenDocument(WithChangeLog("3 1 8 4 0 2 5 0 4 6 3 8 7 5 8",
                             "<ROW RowState=\"1\" Name=\"a\" Memo=\"old\"/>"
                             "<ROW Name=\"d\"/>"
                             "<ROW RowState=\"9\" Name=\"a2\"/>"
                             "<ROW RowState=\"2\" Name=\"b\"/>"
                             "<ROW RowState=\"5\" Name=\"c\" Memo=\"cm\"/>"
                             "<ROW RowState=\"8\" Name=\"a3\"/>"
                             "<ROW RowState=\"12\" Name=\"c2\"/>"));
  EXPECT_EQ(store.ChangeLogCount(), 5);
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < store.EntryCount(); ++i) {
    entries.emplace_back(store.GetFieldText("Name"), store.GetFieldText("Memo"));
    store.MoveCurrent(1);
  }
  // A modified row without its memo shares the memo of the version it replaced.
  const std::vector<std::pair<std::string, std::string>> expected{
      {"a3", "old"}, {"d", ""}, {"c2", "cm"}};
  EXPECT_EQ(entries, expected);
}

TEST_F(ChangeLogTest, AChangeLogIsWrittenBackUntilItIsAccepted) {
  const std::string document =
      WithChangeLog("1 0 4", "<ROW RowState=\"4\" Name=\"ayu\" Memo=\"m\"/>");
  OpenDocument(document);
  store.Edit();
  store.SetFieldText("Name", "ayu2");
  store.Post();  // one posted change: the close saves, and the log is not empty
  EXPECT_EQ(CloseAndRead(), WithChangeLog("1 0 4 2 1 8",
                                          "<ROW RowState=\"5\" Name=\"ayu\" Memo=\"m\"/>"
                                          "<ROW RowState=\"12\" Name=\"ayu2\"/>"));
  store.Open();
  EXPECT_EQ(store.ChangeLogCount(), 2);
  EXPECT_EQ(store.GetFieldText("Memo"), "m");
  // The first add, update or delete accepts the file's changes together with its own.
  AddEntry(store, CatchEntry{.name = "new"});
  EXPECT_EQ(store.ChangeLogCount(), 0);
  EXPECT_EQ(CloseAndRead(),
            CatchLogDocument("<ROW Name=\"ayu2\" Memo=\"m\"/>"
                             "<ROW Weather=\"\" Name=\"new\" Size=\"\" Place=\"\" PicName=\"\"/>"));
}

TEST_F(ChangeLogTest, TheBinaryFormKeepsTheLogToo) {
  OpenDocument(WithChangeLog("1 0 4", "<ROW RowState=\"4\" Name=\"ayu\" Memo=\"m\"/>"));
  store.Edit();
  store.SetFieldText("Name", "ayu2");
  store.Post();
  store.Close();
  const TableContent fromXml = ReadXmlPacket(folder.Read("log.xml"));
  const std::string packet(WriteBinaryPacket(fromXml)->View());
  const TableContent fromPacket = ReadBinaryPacket(packet);
  EXPECT_EQ(WriteXmlPacket(fromPacket)->View(), folder.Read("log.xml"));
  EXPECT_EQ(WriteBinaryPacket(fromPacket)->View(), packet);
}

TEST_F(ChangeLogTest, AContradictoryLogFailsTheRead) {
  for (const char* log : {"3 0 4", "1 0 3", "1 1 8", "1 0", "x", "1 2 8 1 2 8"}) {
    folder.Write("log.xml", WithChangeLog(log, "<ROW RowState=\"4\"/><ROW/>"));
    store.Close();
    store.SetFileName(folder.Path("log.xml"));
    EXPECT_EQ(FailureText([&] { store.Open(); }), "") << log;
    EXPECT_EQ(store.State(), StoreState::Closed);
  }
}
