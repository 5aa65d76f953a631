#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Byte searches for the reader's short spans (attribute names and values of a few dozen
// bytes), where a call to memchr or memcmp costs more than the work itself.
namespace byte_scan {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Nonzero exactly when one of the eight bytes of `word` is `byte`.
constexpr std::uint64_t HasByte(std::uint64_t word, unsigned char byte) {
  const std::uint64_t x = word ^ (kOnes * byte);
  return (x - kOnes) & ~x & kHighs;
}

inline std::uint64_t Load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The first `byte` in [p, end), or end.
inline const char* Find(const char* p, const char* end, char byte) {
  const auto b = static_cast<unsigned char>(byte);
  for (; end - p >= 8; p += 8) {
    if (HasByte(Load(p), b)) break;
  }
  while (p < end && *p != byte)
    ++p;
  return p;
}

// Copies `text` to `out` and gives the end; short texts, as most values are, without a call.
inline char* Copy(char* out, std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  if (n >= 16) {
    std::memcpy(out, p, n);
  } else if (n >= 8) {
    std::memcpy(out, p, 8);
    std::memcpy(out + n - 8, p + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(out, p, 4);
    std::memcpy(out + n - 4, p + n - 4, 4);
  } else {
    for (std::size_t i = 0; i < n; ++i)
      out[i] = p[i];
  }
  return out + n;
}

// Sixteen bytes at once (SSE2, which every x86-64 processor has).
class Block {
 public:
  static Block Load(const char* p) {
    return Block(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  void Store(char* p) const { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes_); }
  // Bit i set where byte i is `byte`.
  unsigned Positions(char byte) const {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes_, _mm_set1_epi8(byte))));
  }
  // Bit i set where byte i, taken as signed, is below `bound`: bytes of 0x80 and above too.
  unsigned PositionsBelow(char bound) const {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(bytes_, _mm_set1_epi8(bound))));
  }

 private:
  explicit Block(__m128i bytes) : bytes_(bytes) {}
  __m128i bytes_;
};

// A short text to recognise at a position, held as two words compared under a mask.
class Prefix {
 public:
  explicit Prefix(std::string text) : text_(std::move(text)) {
    char padded[16] = {};
    std::memcpy(padded, text_.data(), std::min<std::size_t>(text_.size(), 16));
    std::memcpy(words_, padded, 16);
    for (std::size_t i = 0; i < 2; ++i) {
      const std::size_t bytes =
          text_.size() > 8 * i ? std::min<std::size_t>(text_.size() - 8 * i, 8) : 0;
      masks_[i] = bytes == 8 ? ~0ULL : (1ULL << (8 * bytes)) - 1;
    }
  }

  std::size_t Size() const { return text_.size(); }

  // Whether the text stands at p, `end` being the end of the data. An empty text never does.
  bool Matches(const char* p, const char* end) const {
    const std::size_t size = text_.size();
    if (size == 0 || static_cast<std::size_t>(end - p) < size) return false;
    if (size > 16 || end - p < 16) return std::memcmp(p, text_.data(), size) == 0;
    return ((Load(p) ^ words_[0]) & masks_[0]) == 0 && ((Load(p + 8) ^ words_[1]) & masks_[1]) == 0;
  }

 private:
  std::string text_;
  std::uint64_t words_[2];
  std::uint64_t masks_[2];
};

}  // namespace byte_scan
