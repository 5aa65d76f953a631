#pragma once

#include <string>
#include <string_view>

// Standard alphabet, "=" filling the last group, one unbroken run.
void AppendBase64(std::string& out, std::string_view bytes);
// Bytes outside the alphabet are skipped; decoding ends at the first "=".
std::string DecodeBase64(std::string_view text);
