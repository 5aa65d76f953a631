#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

// The hidden argument that makes the benchmark a child measuring one Open.
inline constexpr std::string_view kOpenPeakArgument = "--open-peak";

// Runs a fresh copy of this program that opens the catch log at `path`; gives by how many
// bytes its peak resident memory rose above the resident memory it had before the Open.
std::size_t OpenPeakGrowth(const std::string& path);

// The child's side: opens `path` and prints that growth on stdout; gives the exit status.
int PrintOpenPeakGrowth(const std::string& path);

}  // namespace bench
