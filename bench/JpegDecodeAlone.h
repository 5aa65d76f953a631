#pragma once

#include <string_view>
#include <vector>

namespace bench {

// The reference: libjpeg alone decoding bytes already in memory with the picture control's
// settings (full size, floating-point inverse transform, block smoothing, BGRA output) into
// a plain buffer that the caller keeps from round to round. Gives the seconds taken.
double DecodeAlone(std::string_view bytes, std::vector<unsigned char>& pixels);

}  // namespace bench
