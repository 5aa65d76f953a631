#pragma once

#include <string>
#include <utility>

#include "storage/RecordStore.h"

namespace bench {

// A catch log store as the window has it before it opens a file: built on the stored empty
// structure, closed, and given the file's name.
class ClosedStore {
 public:
  explicit ClosedStore(std::string path) : store_("CatchLog", StoredEmptyStructure()) {
    store_.Close();
    store_.SetFileName(std::move(path));
  }

  RecordStore& operator*() { return store_; }
  RecordStore* operator->() { return &store_; }

 private:
  RecordStore store_;
};

}  // namespace bench
