#include <gtest/gtest.h>

#include "tests/storage/CatchLogFixture.h"
#include "tests/support/FailureText.h"

namespace {

std::string Named(const char* message) {
  return "cdsFish: " + Cp932(message);
}

const std::string kClosed = Named("データセットは閉じているため, この操作は実行できません");
const std::string kNotEditing = Named("データセットが編集または挿入モードではありません");
const std::string kEmpty = Named("空のデータセットには, この操作は実行できません");

std::string NotFound(const std::string& field) {
  return "cdsFish: " + Cp932("項目 '") + field + Cp932("' が見つかりません");
}

// A store opened on a file that does not exist yet, as after "開く" in the window.
class StoreTest : public testing::Test {
 protected:
  StoreTest() { OpenOn(store, folder.Path("log.xml")); }

  // Adds entries named a, b, c, ... and leaves the first current.
  void AddNamed(std::string_view names) {
    for (const char name : names)
      AddEntry(store, CatchEntry{.date = "2004/06/08", .name = std::string(1, name)});
    store.MoveCurrent(-store.EntryCount());
  }
  std::string CurrentName() { return store.GetFieldText("Name"); }

  // Closes the store and tells whether that wrote the data file.
  bool CloseWrites() {
    store.Close();
    return !folder.Read("log.xml").empty();
  }

  TempFolder folder;
  RecordStore store{"cdsFish", StoredEmptyStructure()};
};

}  // namespace

TEST_F(StoreTest, FieldTextByKind) {
  struct Case {
    const char* field;
    std::size_t position;
    std::string written, read;
    bool present;
  };
  const std::string thirty(30, 'n');
  const Case cases[] = {
      {"Date", 0, "2004/06/08", "2004/06/08", true},
      {"Date", 0, "2004/6/8", "2004/06/08", true},
      {"Date", 0, "", "", false},
      {"Name", 2, thirty, thirty.substr(0, 20), true},
      {"Weather", 1, "ab  ", "ab", true},
      {"Weather", 1, "  ab", "  ab", true},
      {"Weather", 1, "", "", true},
      {"Place", 4, std::string(19, 'p') + Cp932("鯛"), std::string(19, 'p'), true},  // never split
      {"Place", 4, std::string(18, 'p') + Cp932("鯛"), std::string(18, 'p') + Cp932("鯛"), true},
      {"Memo", 5, "", "", false},
      {"Memo", 5, std::string(300, 'm') + "\r\n  ", std::string(300, 'm') + "\r\n  ", true},
      {"picname", 6, "a.jpeg", "a.jpeg", true},  // names match in any letter case
  };
  for (const auto& c : cases) {
    store.Append();
    store.SetFieldText(c.field, c.written);
    EXPECT_EQ(store.GetFieldText(c.field), c.read) << c.field << " " << c.written;
    store.Post();
    EXPECT_EQ(store.RowFieldText(store.CurrentRow(), c.position).has_value(), c.present)
        << c.field << " " << c.written;
    EXPECT_EQ(store.GetFieldText(c.field), c.read);
  }
}

TEST_F(StoreTest, ADateThatIsNoDateFailsAndKeepsTheFieldAndThePendingEntry) {
  store.Append();
  store.SetFieldText("Date", "2005/06/12");
  for (const std::string text : {"abc", "2005/13/01", "2005/02/30", "12.06.2005", " "}) {
    EXPECT_EQ(FailureText([&] { store.SetFieldText("Date", text); }),
              "'" + text + "' is not a valid date");
  }
  EXPECT_EQ(store.GetFieldText("Date"), "2005/06/12");
  EXPECT_EQ(store.State(), StoreState::Inserting);
}

TEST_F(StoreTest, FailuresByState) {
  struct Case {
    const char* what;
    std::function<void(RecordStore&)> call;
    std::string closed, browsingEmpty;
  };
  const Case cases[] = {
      {"GetFieldText", [](RecordStore& s) { s.GetFieldText("Date"); }, NotFound("Date"),
       "(no failure)"},
      {"GetFieldText unknown", [](RecordStore& s) { s.GetFieldText("Fish"); }, NotFound("Fish"),
       NotFound("Fish")},
      {"SetFieldText", [](RecordStore& s) { s.SetFieldText("Date", ""); }, NotFound("Date"),
       kNotEditing},
      {"SetFieldText unknown", [](RecordStore& s) { s.SetFieldText("Fish", ""); }, NotFound("Fish"),
       NotFound("Fish")},
      {"Post", [](RecordStore& s) { s.Post(); }, kNotEditing, kNotEditing},
      {"Append", [](RecordStore& s) { s.Append(); }, kClosed, "(no failure)"},
      {"Edit", [](RecordStore& s) { s.Edit(); }, kClosed, "(no failure)"},
      {"Delete", [](RecordStore& s) { s.Delete(); }, kClosed, kEmpty},
      {"AcceptAllChanges", [](RecordStore& s) { s.AcceptAllChanges(); }, kClosed, "(no failure)"},
      {"MoveCurrent", [](RecordStore& s) { s.MoveCurrent(1); }, kClosed, "(no failure)"},
      {"Cancel", [](RecordStore& s) { s.Cancel(); }, "(no failure)", "(no failure)"},
  };
  for (const auto& c : cases) {
    RecordStore closed("cdsFish", StoredEmptyStructure());
    closed.Close();
    EXPECT_EQ(FailureText([&] { c.call(closed); }), c.closed) << c.what;
    EXPECT_EQ(closed.State(), StoreState::Closed) << c.what;
    RecordStore empty("cdsFish", StoredEmptyStructure());
    EXPECT_EQ(FailureText([&] { c.call(empty); }), c.browsingEmpty) << c.what;
  }
}

TEST_F(StoreTest, StateTransitions) {
  EXPECT_EQ(store.State(), StoreState::Browsing);
  store.Edit();  // an edit of an empty store is an insert
  EXPECT_EQ(store.State(), StoreState::Inserting);
  store.SetFieldText("Name", "a");
  store.Edit();  // no effect while pending
  EXPECT_EQ(store.GetFieldText("Name"), "a");
  store.Post();
  EXPECT_EQ(store.EntryCount(), 1);
  store.Edit();
  EXPECT_EQ(store.State(), StoreState::Editing);
  store.Cancel();
  EXPECT_EQ(store.State(), StoreState::Browsing);
  store.Append();
  store.Delete();  // while inserting: drops the pending entry, deletes nothing
  EXPECT_EQ(store.State(), StoreState::Browsing);
  EXPECT_EQ(store.EntryCount(), 1);
  store.Edit();
  store.Delete();  // while editing: the edited entry goes
  EXPECT_EQ(store.EntryCount(), 0);
  EXPECT_EQ(FailureText([&] { store.Delete(); }), kEmpty);
  store.Close();
  EXPECT_EQ(store.State(), StoreState::Closed);
  EXPECT_EQ(store.EntryCount(), 0);
  EXPECT_EQ(store.ChangeLogCount(), 0);
}

TEST_F(StoreTest, CurrentEntryAfterEachOperation) {
  EXPECT_EQ(store.CurrentPosition(), 0);  // empty catch log
  AddNamed("abcd");
  EXPECT_EQ(CurrentName(), "a");
  store.MoveCurrent(2);
  EXPECT_EQ(CurrentName(), "c");
  store.Edit();
  store.SetFieldText("Name", "C");
  store.Post();
  EXPECT_EQ(store.CurrentPosition(), 3);
  EXPECT_EQ(CurrentName(), "C");
  store.AcceptAllChanges();
  EXPECT_EQ(CurrentName(), "C");
  store.Delete();  // has a successor
  EXPECT_EQ(CurrentName(), "d");
  store.Delete();  // the last of several
  EXPECT_EQ(CurrentName(), "b");
  store.MoveCurrent(-10);
  EXPECT_EQ(CurrentName(), "a");
  store.MoveCurrent(10);
  EXPECT_EQ(CurrentName(), "b");
  store.Append();
  store.SetFieldText("Name", "e");
  EXPECT_EQ(store.CurrentRow(), 2);  // the pending entry is shown as the last row
  EXPECT_EQ(store.RowCount(), 3);
  EXPECT_EQ(store.RowFieldText(2, 2), "e");
  store.Post();
  EXPECT_EQ(store.CurrentPosition(), 3);
  store.Append();
  store.Cancel();  // after an append: the last entry
  EXPECT_EQ(CurrentName(), "e");
  store.MoveCurrent(-10);
  store.Delete();
  store.Delete();
  store.Delete();  // the only entry
  EXPECT_EQ(store.CurrentPosition(), 0);
  EXPECT_EQ(store.GetFieldText("Name"), "");  // an empty store reads empty text
}

TEST_F(StoreTest, TheBrowseCheckPostsAModifiedPendingEntryAndDropsAnUnmodifiedOne) {
  // An add that failed part-way, pressed again: the partial entry is stored, then the new one.
  store.Append();
  store.SetFieldText("Name", "partial");
  EXPECT_NE(FailureText([&] { store.SetFieldText("Date", "x"); }), "(no failure)");
  store.Append();
  EXPECT_EQ(store.EntryCount(), 1);
  store.SetFieldText("Name", "second");
  store.MoveCurrent(-1);  // selecting another row posts it as well
  EXPECT_EQ(store.EntryCount(), 2);
  EXPECT_EQ(CurrentName(), "partial");
  store.Append();
  store.AcceptAllChanges();  // unmodified: dropped
  EXPECT_EQ(store.EntryCount(), 2);
  EXPECT_EQ(store.ChangeLogCount(), 0);
}

TEST_F(StoreTest, EveryPostedChangeCountsUntilTheClose) {
  AddEntry(store, AyuEntry());
  EXPECT_EQ(store.ChangeLogCount(), 0);
  store.Delete();
  store.AcceptAllChanges();
  EXPECT_TRUE(CloseWrites());  // an add and a delete: two changes although the log is as before
  EXPECT_EQ(folder.Read("log.xml"), CatchLogDocument(""));
}

TEST_F(StoreTest, AnUpdateThatChangesNothingIsNoChange) {
  AddEntry(store, CatchEntry{.date = "2004/06/08", .name = "ayu"});
  store.Close();
  const std::string saved = folder.Read("log.xml");
  folder.Write("log.xml", saved);
  store.Open();
  store.Edit();
  WriteEntry(store, CatchEntry{.date = "2004/06/08", .name = "ayu"});
  store.Post();
  store.AcceptAllChanges();
  folder.Write("log.xml", "");  // a save would overwrite this
  store.Close();
  EXPECT_EQ(folder.Read("log.xml"), "");
}

TEST_F(StoreTest, AMemoWrittenWithTextIsAlwaysANewValue) {
  AddEntry(store, AyuEntry());
  store.Close();
  store.Open();
  store.Edit();
  WriteEntry(store, AyuEntry());
  store.Post();
  store.AcceptAllChanges();
  folder.Write("log.xml", "");
  EXPECT_TRUE(CloseWrites());
}

TEST_F(StoreTest, FieldsAreFoundInAnyLetterCaseAndKeepTheFilesSpelling) {
  folder.Write("log.xml",
               CatchLogDocument("").replace(CatchLogDocument("").find("\"Name\""), 6, "\"NAME\""));
  store.Close();
  store.Open();
  store.Append();
  store.SetFieldText("name", "ayu");
  EXPECT_EQ(store.GetFieldText("Name"), "ayu");
  store.Post();
  store.Close();
  EXPECT_NE(folder.Read("log.xml").find("<FIELD attrname=\"NAME\""), std::string::npos);
  EXPECT_NE(folder.Read("log.xml").find(" NAME=\"ayu\""), std::string::npos);
}

TEST_F(StoreTest, TheObserverHearsOfEveryChange) {
  int told = 0;
  store.SetObserver([&] { ++told; });
  store.Append();
  store.SetFieldText("Name", "a");
  store.Post();
  store.AcceptAllChanges();
  store.MoveCurrent(0);
  store.Close();
  EXPECT_EQ(told, 6);
}
