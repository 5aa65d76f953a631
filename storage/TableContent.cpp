#include "storage/TableContent.h"

#include <cstring>

std::uint32_t TableContent::Store(std::string_view entry, std::uint8_t state) {
  char* bytes = arena.Allocate(entry.size());
  std::memcpy(bytes, entry.data(), entry.size());
  versions.push_back({bytes, static_cast<std::uint32_t>(entry.size()), state});
  return static_cast<std::uint32_t>(versions.size() - 1);
}

namespace {

constexpr unsigned kUnresolvedShare = EntryLayout::kAbsent | EntryLayout::kShared;

bool HasUnresolvedShare(const EntryLayout& layout, const char* entry) {
  for (std::size_t f = 0; f < layout.FieldCount(); ++f) {
    if (EntryLayout::Status(entry, f) == kUnresolvedShare) return true;
  }
  return false;
}

// Takes the large objects a modified version shares with the version it replaced from there.
void ResolveShares(TableContent& content, const EntryLayout& layout,
                   const std::vector<std::uint32_t>& replacedOf, std::uint32_t version) {
  auto& stored = content.versions[version];
  const std::uint32_t source = version < replacedOf.size() ? replacedOf[version] : kNoVersion;
  EntryValues values = layout.Decode(stored.entry);
  std::vector<bool> shared(layout.FieldCount());
  for (std::size_t f = 0; f < layout.FieldCount(); ++f) {
    const unsigned status = EntryLayout::Status(stored.entry, f);
    shared[f] = (status & EntryLayout::kShared) != 0;
    if (status != kUnresolvedShare) continue;
    if (source == kNoVersion) {
      shared[f] = false;
      continue;
    }
    if (auto value = layout.Value(content.versions[source].entry, f)) values[f].emplace(*value);
    shared[f] = values[f].has_value();
  }
  const std::string entry = layout.Encode(values, shared);
  char* bytes = content.arena.Allocate(entry.size());
  std::memcpy(bytes, entry.data(), entry.size());
  stored.entry = bytes;
  stored.size = static_cast<std::uint32_t>(entry.size());
}

}  // namespace

bool TableContent::RestoreOrder() {
  const auto n = static_cast<std::uint32_t>(versions.size());
  if (changes.empty()) {
    // As every file the catch log writes: each row is an entry, unless its state says it is
    // gone. A large object cannot be shared with a version no change names.
    const EntryLayout layout(fields);
    order.clear();
    order.reserve(n);
    for (std::uint32_t v = 0; v < n; ++v) {
      auto& version = versions[v];
      if (version.state == 0) {
        order.push_back(v);
        continue;
      }
      if (version.state & kRowModified) ResolveShares(*this, layout, {}, v);
      version.state = (version.state & (kRowReplaced | kRowDeleted)) ? kRowDiscarded : 0;
      if (version.state == 0) order.push_back(v);
    }
    return true;
  }
  std::vector<std::uint32_t> replacedBy(n, kNoVersion);
  std::vector<std::uint32_t> replacedOf(n, kNoVersion);
  std::vector<bool> inLog(n);
  for (const auto& change : changes) {
    if (change.version >= n) return false;
    if (change.kind == ChangeKind::Modification) {
      if (change.replaced >= n || change.replaced == change.version ||
          replacedBy[change.replaced] != kNoVersion || replacedOf[change.version] != kNoVersion) {
        return false;
      }
      replacedBy[change.replaced] = change.version;
      replacedOf[change.version] = change.replaced;
      inLog[change.replaced] = true;
    }
    inLog[change.version] = true;
  }

  // A state that no logged change accounts for is dropped: the entry is final as it stands.
  for (std::uint32_t v = 0; v < n; ++v) {
    auto& state = versions[v].state;
    if (inLog[v] || state == 0) continue;
    state = (state & (kRowReplaced | kRowDeleted)) ? kRowDiscarded : 0;
  }

  const EntryLayout layout(fields);
  std::vector<bool> resolved(n);
  for (std::uint32_t v = 0; v < n; ++v) {
    if (resolved[v] || !HasUnresolvedShare(layout, versions[v].entry)) continue;
    // Walk back to the oldest unresolved version of the chain, then resolve forwards.
    std::vector<std::uint32_t> chain{v};
    for (std::uint32_t at = replacedOf[v]; at != kNoVersion && chain.size() <= n;
         at = replacedOf[at]) {
      if (resolved[at] || !HasUnresolvedShare(layout, versions[at].entry)) break;
      chain.push_back(at);
    }
    if (chain.size() > n) return false;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      ResolveShares(*this, layout, replacedOf, *it);
      resolved[*it] = true;
    }
  }

  order.clear();
  order.reserve(n);
  for (std::uint32_t v = 0; v < n; ++v) {
    if (replacedOf[v] != kNoVersion) continue;  // stands where the version it replaced stood
    std::uint32_t live = v;
    for (std::uint32_t steps = 0;
         (versions[live].state & kRowReplaced) && replacedBy[live] != kNoVersion; ++steps) {
      if (steps > n) return false;
      live = replacedBy[live];
    }
    if (versions[live].state & (kRowReplaced | kRowDeleted | kRowDiscarded)) continue;
    order.push_back(live);
  }
  return true;
}

WrittenRows RowsToWrite(const TableContent& content) {
  WrittenRows rows;
  if (content.changes.empty()) {
    rows.versions.assign(content.order.begin(), content.order.end());
    return rows;
  }
  rows.rowOfVersion.assign(content.versions.size(), 0);
  for (std::uint32_t v = 0; v < content.versions.size(); ++v) {
    if (content.versions[v].state & kRowDiscarded) continue;
    rows.versions.push_back(v);
    rows.rowOfVersion[v] = static_cast<std::uint32_t>(rows.versions.size());
  }
  return rows;
}
