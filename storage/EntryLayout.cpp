#include "storage/EntryLayout.h"

#include <algorithm>

EntryLayout::EntryLayout(const std::vector<Field>& fields) {
  layouts_.reserve(fields.size());
  for (const auto& field : fields)
    layouts_.push_back(LayoutOf(field));
}

std::size_t EntryLayout::ValueSize(const char* at, std::size_t field) const {
  const auto& layout = layouts_[field];
  if (!layout.varying) return layout.size;
  return layout.size + ReadLittleEndian(at, layout.size);
}

std::optional<std::string_view> EntryLayout::Value(const char* entry, std::size_t field) const {
  if (Status(entry, field) & kAbsent) return std::nullopt;
  const char* at = entry + StatusBytes();
  for (std::size_t f = 0; f < field; ++f) {
    if (!(Status(entry, f) & kAbsent)) at += ValueSize(at, f);
  }
  const auto& layout = layouts_[field];
  if (!layout.varying) return std::string_view(at, layout.size);
  return std::string_view(at + layout.size, ReadLittleEndian(at, layout.size));
}

std::optional<std::size_t> EntryLayout::CheckedSize(const char* entry,
                                                    std::size_t available) const {
  std::size_t size = StatusBytes();
  if (size > available) return std::nullopt;
  for (std::size_t f = 0; f < layouts_.size(); ++f) {
    if (Status(entry, f) & kAbsent) continue;
    const auto& layout = layouts_[f];
    if (available - size < layout.size) return std::nullopt;
    std::size_t valueSize = layout.size;
    if (layout.varying) {
      const auto length = ReadLittleEndian(entry + size, layout.size);
      if (length > available - size - layout.size) return std::nullopt;
      valueSize += length;
    }
    size += valueSize;
  }
  return size;
}

EntryValues EntryLayout::Decode(const char* entry) const {
  EntryValues values(layouts_.size());
  ForEach(entry, [&](std::size_t f, unsigned status, std::string_view value) {
    if (!(status & kAbsent)) values[f].emplace(value);
  });
  return values;
}

std::string EntryLayout::Encode(const EntryValues& values, const std::vector<bool>& shared) const {
  std::size_t size = StatusBytes();
  for (std::size_t f = 0; f < layouts_.size(); ++f) {
    if (values[f])
      size += layouts_[f].varying ? layouts_[f].size + values[f]->size() : layouts_[f].size;
  }
  std::string entry(size, '\0');
  char* at = entry.data() + StatusBytes();
  for (std::size_t f = 0; f < layouts_.size(); ++f) {
    const auto& layout = layouts_[f];
    if (!values[f]) {
      SetStatus(entry.data(), f, kAbsent);
      continue;
    }
    if (f < shared.size() && shared[f]) SetStatus(entry.data(), f, kShared);
    const std::string& value = *values[f];
    if (layout.varying) {
      WriteLittleEndian(at, value.size(), layout.size);
      at += layout.size;
      at = std::copy(value.begin(), value.end(), at);
    } else {
      // Fixed-size values always have their size; a shorter one is padded with zero bytes.
      const std::size_t n = std::min<std::size_t>(value.size(), layout.size);
      std::copy_n(value.begin(), n, at);
      at += layout.size;
    }
  }
  return entry;
}
