#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "storage/BinaryPacket.h"
#include "tests/storage/CatchLogFixture.h"
#include "tests/support/FailureText.h"

namespace {

std::string CannotCreate(const std::string& path) {
  return Cp932("ファイル ") + path + Cp932(" を作成できません");
}

class StoreFileTest : public testing::Test {
 protected:
  // Opens `name`, adds the worked example's entry and closes; gives the failure, if any.
  std::string AddAndClose(const std::string& name) {
    return FailureText([&] {
      RecordStore store("cdsFish", StoredEmptyStructure());
      OpenOn(store, folder.Path(name));
      AddEntry(store, AyuEntry());
      store.Close();
    });
  }

  TempFolder folder;
};

const std::string kAyuRow =
    "<ROW Date=\"20050612\" Weather=\"fine\" Name=\"ayu\" Size=\"21cm\" Place=\"north bank\" "
    "Memo=\"2 kept &amp; 1 released&#013;&#010;water cold\" PicName=\"ayu01.jpeg\"/>";

}  // namespace

TEST_F(StoreFileTest, TheSaveFormFollowsTheExtension) {
  struct Case {
    const char* name;
    bool xml;
  };
  for (const auto& c :
       {Case{"a.xml", true}, Case{"b.XML", true}, Case{"c.Xml", true}, Case{"d.xml.bak", false},
        Case{"e", false}, Case{"f.txt", false}, Case{"g.xml.d/h", false}}) {
    if (std::string_view(c.name).find('/') != std::string_view::npos)
      mkdir(folder.Path("g.xml.d").c_str(), 0755);
    EXPECT_EQ(AddAndClose(c.name), "(no failure)");
    const std::string saved = folder.Read(c.name);
    EXPECT_EQ(saved == CatchLogDocument(kAyuRow), c.xml) << c.name;
    EXPECT_EQ(IsBinaryPacket(saved), !c.xml) << c.name;
  }
}

TEST_F(StoreFileTest, AFileInBinaryFormOpensWhateverItsName) {
  ASSERT_EQ(AddAndClose("packet"), "(no failure)");
  folder.Write("packet.xml", folder.Read("packet"));
  RecordStore store("cdsFish", StoredEmptyStructure());
  OpenOn(store, folder.Path("packet.xml"));
  ASSERT_EQ(store.EntryCount(), 1);
  EXPECT_EQ(ReadEntry(store).memo, AyuEntry().memo);
}

TEST_F(StoreFileTest, AMissingOrEmptyFileOpensAsAnEmptyCatchLog) {
  folder.Write("empty.xml", "");
  for (const char* name : {"missing.xml", "empty.xml"}) {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path(name));
    EXPECT_EQ(store.Fields(), CatchLogFields());
    EXPECT_EQ(store.EntryCount(), 0);
    store.Close();
    EXPECT_FALSE(
        files::FileExists(folder.Path("missing.xml")));  // nothing changed: nothing written
    EXPECT_EQ(folder.Read("empty.xml"), "");
  }
  EXPECT_EQ(AddAndClose("empty.xml"), "(no failure)");
  EXPECT_EQ(folder.Read("empty.xml"), CatchLogDocument(kAyuRow));
}

TEST_F(StoreFileTest, ClosingWithoutChangesLeavesTheFileUntouched) {
  ASSERT_EQ(AddAndClose("log.xml"), "(no failure)");
  struct stat before {};
  stat(folder.Path("log.xml").c_str(), &before);
  {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path("log.xml"));
    store.MoveCurrent(1);
    store.Edit();
    store.Cancel();
  }
  struct stat after {};
  stat(folder.Path("log.xml").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST_F(StoreFileTest, AnUnreadableFileFailsWithACodeAndAnEmptyTextAndIsKept) {
  folder.Write("text.xml", "This is no catch log.\n");
  RecordStore store("cdsFish", StoredEmptyStructure());
  store.Close();
  store.SetFileName(folder.Path("text.xml"));
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      store.Open();
      FAIL() << "opened";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Message(), "");
      EXPECT_NE(failure.Code(), 0);
    }
    EXPECT_EQ(store.State(), StoreState::Closed);
    // The bytes just read are the store's packet now: without the file it fails the same way.
    std::remove(folder.Path("text.xml").c_str());
  }
}

TEST_F(StoreFileTest, WithNoFileAndNoPacketLeftOpenFails) {
  ASSERT_EQ(AddAndClose("log.xml"), "(no failure)");
  RecordStore store("cdsFish", StoredEmptyStructure());
  OpenOn(store, folder.Path("log.xml"));
  store.Close();  // nothing changed: nothing saved, and the packet read at the open is gone
  std::remove(folder.Path("log.xml").c_str());
  EXPECT_EQ(FailureText([&] { store.Open(); }),
            "cdsFish: " + Cp932("データプロバイダ/パケットがありません"));
}

TEST_F(StoreFileTest, AFileHeldByAWriterCannotBeOpened) {
  ASSERT_EQ(AddAndClose("log.xml"), "(no failure)");
  const int writer = open(folder.Path("log.xml").c_str(), O_RDWR);
  ASSERT_EQ(flock(writer, LOCK_EX), 0);
  RecordStore store("cdsFish", StoredEmptyStructure());
  store.Close();
  store.SetFileName(folder.Path("log.xml"));
  EXPECT_EQ(FailureText([&] { store.Open(); }),
            Cp932("ファイル ") + folder.Path("log.xml") + Cp932(" は開けません"));
  EXPECT_EQ(store.State(), StoreState::Closed);
  close(writer);
  store.Open();
  EXPECT_EQ(store.EntryCount(), 1);
}

TEST_F(StoreFileTest, AFailedSaveReportsAndLeavesThePreviousFileAsItWas) {
  ASSERT_EQ(AddAndClose("log.xml"), "(no failure)");
  const std::string before = folder.Read("log.xml");
  chmod(folder.Path("log.xml").c_str(), 0444);
  EXPECT_EQ(AddAndClose("log.xml"), CannotCreate(folder.Path("log.xml")));
  EXPECT_EQ(folder.Read("log.xml"), before);
  EXPECT_EQ(AddAndClose("gone/log.xml"), CannotCreate(folder.Path("gone/log.xml")));
}

TEST_F(StoreFileTest, ASaveThatFailsHalfWayLeavesThePreviousFileAsItWas) {
  ASSERT_EQ(AddAndClose("log.xml"), "(no failure)");
  const std::string before = folder.Read("log.xml");
  std::string failure;
  {
    RecordStore store("cdsFish", StoredEmptyStructure());
    OpenOn(store, folder.Path("log.xml"));
    for (int i = 0; i < 50; ++i)
      AddEntry(store, AyuEntry());
    // The file system takes the first kilobyte of the new file and refuses the rest.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1024, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    failure = FailureText([&] { store.Close(); });
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
  }
  EXPECT_EQ(failure, CannotCreate(folder.Path("log.xml")));
  EXPECT_EQ(folder.Read("log.xml"), before);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"log.xml"});
}
