#pragma once

#include <cstddef>
#include <cstdint>

namespace plotvik {

// A 64-bit hash of a byte stream that does not depend on how the stream is cut into pieces:
// the bytes taken from a file as it grew, piece by piece, hash as the same bytes read back in
// one go. Not for adversaries; it tells a rewritten file from the one that was read.
class TByteHash {
 public:
  void Add(const char* bytes, std::size_t size);
  std::uint64_t Value() const;
  bool operator==(const TByteHash& other) const { return Value() == other.Value(); }

 private:
  void Mix(std::uint64_t word);

  std::uint64_t state_ = 0x243F6A8885A308D3u;
  std::uint64_t length_ = 0;
  // The bytes of a word not yet complete, lowest first.
  std::uint64_t partial_ = 0;
};

}  // namespace plotvik
