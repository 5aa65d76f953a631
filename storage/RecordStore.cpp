#include "storage/RecordStore.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "storage/BinaryPacket.h"
#include "storage/ValueText.h"
#include "storage/XmlPacket.h"

namespace {

// The save's form follows the file name: XML when its extension is ".xml" in any letter case.
bool SavesAsXml(std::string_view path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return false;
  return cp932::ToLower(path.substr(dot)) == ".xml";
}

TableContent ReadPacket(std::string_view packet) {
  return IsBinaryPacket(packet) ? ReadBinaryPacket(packet) : ReadXmlPacket(packet);
}

// A version accepted for good: gone when it was deleted or replaced, otherwise unchanged.
void Finalize(StoredVersion& version) {
  version.state = (version.state & (kRowReplaced | kRowDeleted)) ? kRowDiscarded : 0;
}

}  // namespace

RecordStore::RecordStore(std::string name, std::string definition)
    : name_(std::move(name)), fallback_(ByteBuffer(definition)) {
  Open();
}

RecordStore::~RecordStore() {
  try {
    Close();
  } catch (...) {
    // Nobody is left to tell; the shell calls Close() itself to report a failed save.
  }
}

void RecordStore::SetFileName(std::string path) {
  fileName_ = std::move(path);
}

void RecordStore::FailNamed(std::string_view message) const {
  throw Failure(FormatText(Cp932("%s: %s"), {name_, message}));
}

void RecordStore::RequireOpen() const {
  if (state_ == StoreState::Closed) {
    FailNamed(Cp932("データセットは閉じているため, この操作は実行できません"));
  }
}

std::size_t RecordStore::FindField(std::string_view name) const {
  const auto& fields = content_.fields;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (cp932::SameText(fields[f].name, name)) return f;
  }
  FailNamed(FormatText(Cp932("項目 '%s' が見つかりません"), {name}));
}

void RecordStore::Notify() const {
  if (observer_) observer_();
}

void RecordStore::Open() {
  if (state_ != StoreState::Closed) return;
  if (!fileName_.empty() && files::FileExists(fileName_)) {
    ByteBuffer bytes = files::ReadWholeFile(fileName_);
    if (!bytes.Empty()) fallback_ = std::move(bytes);
  }
  if (!fallback_) FailNamed(Cp932("データプロバイダ/パケットがありません"));
  content_ = ReadPacket(fallback_->View());
  layout_.emplace(content_.fields);
  state_ = StoreState::Browsing;
  current_ = content_.order.empty() ? -1 : 0;
  unsavedChanges_ = 0;
  fallback_.reset();
  Notify();
}

void RecordStore::Close() {
  if (state_ == StoreState::Closed) return;
  state_ = StoreState::Closed;
  DropPending();
  const int unsaved = unsavedChanges_;
  unsavedChanges_ = 0;
  TableContent content = std::move(content_);
  content_ = TableContent();
  layout_.reset();
  current_ = -1;
  Notify();
  if (fileName_.empty()) {
    if (auto packet = WriteBinaryPacket(content)) fallback_ = std::move(*packet);
  } else if (unsaved != 0) {
    Save(content);
  }
}

void RecordStore::Save(const TableContent& content) {
  auto packet = SavesAsXml(fileName_) ? WriteXmlPacket(content) : WriteBinaryPacket(content);
  if (!packet) throw Failure(FormatText(Cp932("ファイル %s を作成できません"), {fileName_}));
  files::WriteWholeFile(fileName_, packet->View());
  fallback_ = std::move(*packet);
}

void RecordStore::StartPending(bool copyCurrent) {
  const std::size_t n = content_.fields.size();
  pending_.values = copyCurrent ? layout_->Decode(content_.versions[content_.order[current_]].entry)
                                : EntryValues(n);
  pending_.objectWritten.assign(n, false);
  pending_.modified = false;
}

void RecordStore::DropPending() {
  pending_ = PendingEntry();
}

void RecordStore::BrowseCheck() {
  if (state_ != StoreState::Editing && state_ != StoreState::Inserting) return;
  if (pending_.modified) {
    PostPending();
  } else {
    Cancel();
  }
}

void RecordStore::PostPending() {
  auto& order = content_.order;
  if (state_ == StoreState::Inserting) {
    const auto v = content_.Store(layout_->Encode(pending_.values, {}), kRowInserted);
    order.push_back(v);
    content_.changes.push_back({ChangeKind::Insert, v, kNoVersion});
    ++unsavedChanges_;
    current_ = static_cast<int>(order.size()) - 1;
  } else {
    const auto previous = order[current_];
    const EntryValues old = layout_->Decode(content_.versions[previous].entry);
    std::vector<bool> shared(old.size());
    bool changed = false;
    for (std::size_t f = 0; f < old.size(); ++f) {
      // A large object written with text is a new value, even when the text is the same.
      changed |= pending_.objectWritten[f] || pending_.values[f] != old[f];
      shared[f] = IsLargeObject(content_.fields[f].kind) && !pending_.objectWritten[f] &&
                  pending_.values[f].has_value();
    }
    if (changed) {
      auto& oldState = content_.versions[previous].state;
      const auto state = static_cast<std::uint8_t>((oldState & kRowInserted) | kRowModified);
      const auto v = content_.Store(layout_->Encode(pending_.values, shared), state);
      content_.versions[previous].state |= kRowReplaced;
      order[current_] = v;
      content_.changes.push_back({ChangeKind::Modification, v, previous});
      ++unsavedChanges_;
    }
  }
  state_ = StoreState::Browsing;
  DropPending();
}

void RecordStore::Append() {
  RequireOpen();
  BrowseCheck();
  StartPending(false);
  state_ = StoreState::Inserting;
  Notify();
}

void RecordStore::Edit() {
  if (state_ == StoreState::Editing || state_ == StoreState::Inserting) return;
  RequireOpen();
  const bool empty = content_.order.empty();
  StartPending(!empty);
  state_ = empty ? StoreState::Inserting : StoreState::Editing;
  Notify();
}

void RecordStore::Post() {
  if (state_ != StoreState::Editing && state_ != StoreState::Inserting) {
    FailNamed(Cp932("データセットが編集または挿入モードではありません"));
  }
  PostPending();
  Notify();
}

void RecordStore::Cancel() {
  if (state_ == StoreState::Inserting) {
    current_ = static_cast<int>(content_.order.size()) - 1;
  } else if (state_ != StoreState::Editing) {
    return;
  }
  state_ = StoreState::Browsing;
  DropPending();
  Notify();
}

void RecordStore::Delete() {
  RequireOpen();
  if (state_ == StoreState::Inserting) {
    Cancel();
    return;
  }
  auto& order = content_.order;
  if (order.empty()) FailNamed(Cp932("空のデータセットには, この操作は実行できません"));
  state_ = StoreState::Browsing;
  DropPending();
  const auto v = order[current_];
  content_.versions[v].state |= kRowDeleted;
  order.erase(order.begin() + current_);
  content_.changes.push_back({ChangeKind::Deletion, v, kNoVersion});
  ++unsavedChanges_;
  current_ = std::min(current_, static_cast<int>(order.size()) - 1);
  Notify();
}

void RecordStore::AcceptAllChanges() {
  RequireOpen();
  BrowseCheck();
  for (const auto& change : content_.changes) {
    Finalize(content_.versions[change.version]);
    if (change.replaced != kNoVersion) Finalize(content_.versions[change.replaced]);
  }
  content_.changes.clear();
  Notify();
}

int RecordStore::ChangeLogCount() const {
  return static_cast<int>(content_.changes.size());
}

std::string RecordStore::GetFieldText(std::string_view field) const {
  const std::size_t f = FindField(field);
  std::optional<std::string_view> value;
  if (state_ == StoreState::Editing || state_ == StoreState::Inserting) {
    if (pending_.values[f]) value = *pending_.values[f];
  } else if (current_ >= 0) {
    value = layout_->Value(content_.versions[content_.order[current_]].entry, f);
  }
  return value ? FieldText(content_.fields[f], *value) : std::string();
}

void RecordStore::SetFieldText(std::string_view field, std::string_view text) {
  const std::size_t f = FindField(field);
  if (state_ != StoreState::Editing && state_ != StoreState::Inserting) {
    FailNamed(Cp932("データセットが編集または挿入モードではありません"));
  }
  auto value = ValueFromFieldText(content_.fields[f], text);
  pending_.objectWritten[f] = IsLargeObject(content_.fields[f].kind) && value.has_value();
  pending_.values[f] = std::move(value);
  pending_.modified = true;
  Notify();
}

int RecordStore::EntryCount() const {
  return static_cast<int>(content_.order.size());
}

int RecordStore::CurrentPosition() const {
  return CurrentRow() + 1;
}

int RecordStore::CurrentRow() const {
  return state_ == StoreState::Inserting ? static_cast<int>(content_.order.size()) : current_;
}

int RecordStore::RowCount() const {
  return EntryCount() + (state_ == StoreState::Inserting ? 1 : 0);
}

void RecordStore::MoveCurrent(int distance) {
  RequireOpen();
  BrowseCheck();
  const int count = EntryCount();
  if (count == 0) return;
  current_ = std::clamp(current_ + distance, 0, count - 1);
  Notify();
}

std::optional<std::string> RecordStore::RowFieldText(int row, std::size_t field) const {
  std::optional<std::string_view> value;
  const bool pendingRow = (state_ == StoreState::Inserting && row == EntryCount()) ||
                          (state_ == StoreState::Editing && row == current_);
  if (pendingRow) {
    if (pending_.values[field]) value = *pending_.values[field];
  } else if (row >= 0 && row < EntryCount()) {
    value = layout_->Value(content_.versions[content_.order[row]].entry, field);
  }
  if (!value) return std::nullopt;
  return FieldText(content_.fields[field], *value);
}

std::string StoredEmptyStructure() {
  TableContent content;
  content.fields = CatchLogFields();
  return std::string(WriteBinaryPacket(content)->View());
}
