#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace plotvik {

// A picture to be written: rows of 0xAARRGGBB words (the top byte is ignored) without padding.
struct TPngPicture {
  std::span<const std::uint32_t> pixels;
  int width = 0;
  int height = 0;
};

// Encodes picture after picture into buffers it keeps, so that a run of pictures of one size
// touches its memory once. The same bytes as EncodePng.
class TPngEncoder {
 public:
  TPngEncoder();
  ~TPngEncoder();
  TPngEncoder(const TPngEncoder&) = delete;
  TPngEncoder& operator=(const TPngEncoder&) = delete;

  // The file's bytes, valid until the next call.
  const std::string& Encode(const TPngPicture& picture, int scale = 1);
  // Writes Encode's bytes to `path`; false, with the reason in `error`, when that fails.
  bool Write(const std::filesystem::path& path, const TPngPicture& picture, int scale,
             std::string& error);

 private:
  struct Buffers;
  std::unique_ptr<Buffers> buffers_;
};

// The PNG file's bytes for `picture` with every pixel a `scale` x `scale` block. A picture of at
// most 256 colours is stored with a palette, in the fewest bits per pixel that hold its colours
// (a chart has a handful: packing them keeps the data small and its compression quick); more
// colours are stored as 24-bit RGB. Either way the file decodes to exactly the given colours.
std::string EncodePng(const TPngPicture& picture, int scale = 1);

// Writes EncodePng's bytes to `path`; false, with the reason in `error`, when that fails.
bool WritePngFile(const std::filesystem::path& path, const TPngPicture& picture, int scale,
                  std::string& error);

}  // namespace plotvik
