#pragma once

#include <string>

namespace bench {

// Writes a catch log of `rows` made-up entries to `path`, an .xml file, through the record
// store the way the window adds entries. The same seed gives the same file on every run.
void WriteCatchLog(const std::string& path, int rows);

}  // namespace bench
