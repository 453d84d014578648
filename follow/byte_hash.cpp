#include "follow/byte_hash.h"

#include <cstring>

namespace plotvik {

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

std::uint64_t Word(const char* bytes) {
  // Assembled byte by byte, lowest first, so that a word and the same bytes gathered one at a
  // time in `partial_` agree on every machine.
  std::uint64_t word = 0;
  unsigned char b[8];
  std::memcpy(b, bytes, 8);
  for (int i = 7; i >= 0; --i) word = (word << 8) | b[i];
  return word;
}

}  // namespace

void TByteHash::Mix(std::uint64_t word) {
  state_ = (state_ ^ word) * kMultiplier;
  state_ ^= state_ >> 29;
}

void TByteHash::Add(const char* bytes, std::size_t size) {
  std::size_t i = 0;
  auto fill = static_cast<unsigned>(length_ % 8);
  while (fill != 0 && i < size) {
    partial_ |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * fill);
    ++i;
    fill = (fill + 1) % 8;
    if (fill == 0) {
      Mix(partial_);
      partial_ = 0;
    }
  }
  for (; i + 8 <= size; i += 8) Mix(Word(bytes + i));
  for (unsigned shift = 0; i < size; ++i, shift += 8) {
    partial_ |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << shift;
  }
  length_ += size;
}

std::uint64_t TByteHash::Value() const {
  TByteHash last = *this;
  last.Mix(partial_);
  last.Mix(length_);
  return last.state_;
}

}  // namespace plotvik
