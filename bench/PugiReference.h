#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <pugixml.hpp>

namespace bench {

// The reference: pugixml reading a catch log into its tree in place, and saving the tree.
class PugiCatchLog {
 public:
  // Reads the whole file into a buffer and parses it there (minimal parse with escapes).
  explicit PugiCatchLog(const std::string& path);
  PugiCatchLog(const PugiCatchLog&) = delete;
  PugiCatchLog& operator=(const PugiCatchLog&) = delete;

  struct RowWalk {
    std::size_t rows = 0;
    std::size_t valueBytes = 0;
  };
  // Reads every attribute value of every ROW.
  RowWalk WalkRows() const;

  // Appends the whole document, unformatted, to `out`.
  void Save(std::string& out) const;

 private:
  std::unique_ptr<char[]> buffer_;  // the tree's strings live in it
  pugi::xml_document document_;
};

}  // namespace bench
