#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/LargeArray.h"
#include "storage/EntryArena.h"
#include "storage/EntryLayout.h"
#include "storage/Structure.h"

// Change states of a stored version, as the data files write them.
enum RowState : std::uint8_t {
  kRowReplaced = 1,  // a later version replaced this one
  kRowDeleted = 2,
  kRowInserted = 4,
  kRowModified = 8,
  kRowDiscarded = 0x80,  // accepted away; kept in memory only, never written
};

enum class ChangeKind : std::uint8_t { Deletion = 2, Insert = 4, Modification = 8 };

struct Change {
  ChangeKind kind;
  std::uint32_t version;   // the version the change produced or deleted
  std::uint32_t replaced;  // the version a modification replaced; kNoVersion otherwise
};

constexpr std::uint32_t kNoVersion = 0xFFFFFFFFu;

struct StoredVersion {
  const char* entry;  // encoded entry, in the table's arena
  std::uint32_t size;
  std::uint8_t state;
};

// Everything a data file holds: the structure, the parameters, every stored version of every
// entry with its change state, the store order and the change log. The readers build it, the
// record store works on it, the writers encode it.
struct TableContent {
  std::vector<Field> fields;
  std::vector<Parameter> parameters;  // the packet's own, without the change log
  EntryArena arena;
  LargeArray<StoredVersion> versions;  // in the order they were stored
  LargeArray<std::uint32_t> order;     // store order: the live versions
  std::vector<Change> changes;

  // Adds a version holding a copy of `entry`; gives its index.
  std::uint32_t Store(std::string_view entry, std::uint8_t state);
  // The live versions in store order, from the versions' states and the change log; false
  // when the change log contradicts itself or names versions that do not exist.
  bool RestoreOrder();
};

// The versions a save writes: each live entry once in store order when the change log is
// empty; otherwise every version that was not accepted away, in the order they were stored.
// `rowOfVersion` then gives each written version's row number, counted from 1.
struct WrittenRows {
  std::vector<std::uint32_t> versions;
  std::vector<std::uint32_t> rowOfVersion;
};
WrittenRows RowsToWrite(const TableContent& content);
