#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Measurements made in a fresh copy of the benchmark, so that nothing a run before left in
// memory weighs on them.
namespace bench {

// A "Vm...:" line of /proc/self/status, in bytes.
std::size_t StatusBytes(std::string_view key);

// Runs this program again with `argument` and `path`; gives what it printed on stdout, or
// fails when it does not end well.
std::string RunSelf(std::string_view argument, const std::string& path);

}  // namespace bench
