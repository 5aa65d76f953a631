#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteBuffer.h"
#include "storage/EntryLayout.h"
#include "storage/Structure.h"
#include "storage/TableContent.h"

enum class StoreState { Closed, Browsing, Editing, Inserting };

// The catch log while the program runs: an in-memory table of entries with a current entry,
// at most one pending entry, a change log and an unsaved-change counter. It reads its whole
// data file at Open and writes it back whole at Close, and only when something was posted
// since it was opened. Every text (names, paths, values, messages) is CP932; failures are
// thrown as Failure, those the store raises itself as "<name>: <message>".
class RecordStore {
 public:
  // The store is built already open on `definition`, a packet in binary packet form or XML.
  RecordStore(std::string name, std::string definition);
  // Closes the store, and so saves it, but never throws: call Close() first to see a failure.
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  void SetFileName(std::string path);
  const std::string& FileName() const { return fileName_; }
  const std::string& Name() const { return name_; }

  void Open();
  void Close();
  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void AcceptAllChanges();
  int ChangeLogCount() const;
  std::string GetFieldText(std::string_view field) const;
  void SetFieldText(std::string_view field, std::string_view text);
  int EntryCount() const;
  // 1-based; 0 when there is no current entry; while inserting, the pending entry's place.
  int CurrentPosition() const;
  void MoveCurrent(int distance);

  // What the grid shows.
  StoreState State() const { return state_; }
  // The structure; empty while the store is closed.
  const std::vector<Field>& Fields() const { return content_.fields; }
  // The entries in store order, and a pending appended entry after them.
  int RowCount() const;
  // 0-based row of the current entry (the pending one while inserting); -1 when there is none.
  int CurrentRow() const;
  // Text of field `field` of row `row`, the pending entry shown in its place; nullopt when the
  // value is absent.
  std::optional<std::string> RowFieldText(int row, std::size_t field) const;
  // Told after every change of the store's content, state or current entry.
  void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }

 private:
  struct PendingEntry {
    EntryValues values;
    std::vector<bool> objectWritten;  // a large object written with a value: never the old one
    bool modified = false;
  };

  [[noreturn]] void FailNamed(std::string_view message) const;
  void RequireOpen() const;
  std::size_t FindField(std::string_view name) const;
  void BrowseCheck();
  void StartPending(bool copyCurrent);
  void PostPending();
  void DropPending();
  void Save(const TableContent& content);
  void Notify() const;

  std::string name_;
  std::string fileName_;
  std::optional<ByteBuffer> fallback_;
  StoreState state_ = StoreState::Closed;
  TableContent content_;
  std::optional<EntryLayout> layout_;
  int current_ = -1;  // index into content_.order
  PendingEntry pending_;
  int unsavedChanges_ = 0;
  std::function<void()> observer_;
};

// The catch log's stored empty structure in binary packet form (203 bytes, no rows).
std::string StoredEmptyStructure();
